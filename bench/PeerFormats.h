// The benchmark's data set written in the formats of the programs people use
// instead of Tolvari for "what is on today and in the coming week", so that
// each reads the same records as Tolvari does.
#pragma once

#include <string>
#include <string_view>

enum class PeerFormat {
    Calendar,  // BSD calendar: "MM/DD<tab>text"
    Remind,    // remind: "REM 5 Mar +7 MSG text", a 7-day advance warning
    Pal,       // pal: a title line, then "0000MMDD text" (every year)
    Birthday,  // birthday: "text=DD/MM[/YYYY] [ev]"
};

// "calendar", "remind", "pal", "birthday"; false for any other name.
bool ParsePeerFormat(std::string_view name, PeerFormat& format);

// Code page 1250 bytes as UTF-8; the five bytes the code page leaves
// undefined become "?". The peers read UTF-8 (pal only reads UTF-8, and BSD
// calendar drops lines with bytes it cannot decode).
std::string Cp1250ToUtf8(std::string_view text);

// The records of a Tolvari data file (its bytes) in the peer's format, names
// in UTF-8, LF line ends, in list order. Records whose day or month is not a
// number of 1..31 or 1..12 have no date the peers could take and are left
// out. Year codes: "0000" and "9999" become yearly entries without a year,
// "8888" a birthday without a year, any other year the year of birth where
// the format has a place for one (birthday's); the others get the name only.
std::string ConvertDataFile(std::string_view tolvariBytes, PeerFormat format);
