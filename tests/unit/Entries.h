// Contacts and calendars written in a test, and what the import makes of them.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "import/Entry.h"
#include "import/ReadInput.h"

using Lines = std::vector<std::string>;

inline std::string Join(const Lines& lines, const char* end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// The lines between BEGIN:kind and END:kind.
inline std::string Wrap(const char* kind, const Lines& lines)
{
    return Join({std::string("BEGIN:") + kind}) + Join(lines) + Join({std::string("END:") + kind});
}
inline std::string Card(const Lines& lines)
{
    return Wrap("VCARD", lines);
}
inline std::string Calendar(const Lines& lines)
{
    return Wrap("VCALENDAR", lines);
}

// Each entry as its data-file line (UTF-8), or "skipped" or "one-off", the
// line it starts on and the reason.
inline Lines Shown(const std::vector<ImportEntry>& entries)
{
    Lines shown;
    for (const ImportEntry& e : entries) {
        char date[8];
        std::snprintf(date, sizeof date, "%02d.%02d", e.day % 100, e.month % 100);
        shown.push_back(!e.Skipped()
                            ? date + (" " + e.year + " " + e.name)
                            : (e.oneOff ? "one-off " : "skipped ") + std::to_string(e.line) + ": " + e.Reason());
    }
    return shown;
}

// A file's text and what the import makes of it, read on 7 December 2026.
struct ReadCase {
    const char* what;
    std::string text;
    Lines expected;
};
inline void ExpectRead(const std::vector<ReadCase>& cases, ReadContext context = ReadContext())
{
    context.today = Date{7, 12, 2026};
    for (const ReadCase& c : cases)
        EXPECT_EQ(Shown(ReadEntries(c.text, context)), c.expected) << c.what;
}
