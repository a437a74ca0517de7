// One content line of the syntax vCard and iCalendar share:
// "group.NAME;PARAM=value:value".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ContentLine {
    std::string group;  // vCard's "item1." prefix, without the dot
    std::string name;   // upper case
    // Parameter names in upper case, values without their quotes. A bare
    // vCard 2.1 parameter ("TEL;HOME:") has an empty name.
    std::vector<std::pair<std::string, std::string>> params;
    std::string value;  // as written, quoted-printable already decoded
    bool cut = false;   // longer than kMaxLine: only its start is kept
    int number = 0;     // the line of the file it starts on, from 1

    // The value of a parameter, or "" if absent.
    std::string Param(std::string_view paramName) const;
    // The value as UTF-8: CHARSET= applied, or, without it, bytes that are
    // not UTF-8 taken as code page 1250.
    std::string Utf8Value() const;
};

// A whole (unfolded) line into its parts; false if it has no ":".
bool ParseContentLine(std::string_view line, ContentLine& out);
