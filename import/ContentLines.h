// The line syntax vCard and iCalendar share: "group.NAME;PARAM=value:value",
// long lines folded onto lines that start with a blank or tab.
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

    // The value of a parameter, or "" if absent.
    std::string Param(std::string_view paramName) const;
    // The value as UTF-8: CHARSET= applied, or, without it, bytes that are
    // not UTF-8 taken as code page 1250.
    std::string Utf8Value() const;
};

// The content lines of a file's text: a UTF-8 BOM dropped, CR LF or LF, folds
// and vCard 2.1's quoted-printable soft line breaks joined. Blank lines and
// lines without a ":" are left out.
std::vector<ContentLine> ReadContentLines(std::string_view text);

// Splits a text value at each sep not escaped by "\", and undoes the escapes
// "\\", "\,", "\;" and "\n" (a line break becomes a blank).
std::vector<std::string> SplitText(std::string_view value, char sep);
std::string UnescapeText(std::string_view value);

std::string UpperAscii(std::string_view text);
// The text without a leading UTF-8 byte-order mark.
std::string_view WithoutBom(std::string_view text);

// A calendar date of the forms exporters write: 19500305, 1950-03-05, either
// with a time after "T", or without the year: --0305, --03-05. Year 0 means
// no year; 29 February is valid in any year.
struct Date {
    int day = 0, month = 0, year = 0;
};
bool ParseDate(std::string_view value, Date& date);
