// The name days and fixed-date public holidays of the countries of
// HOLIDAYS=, from the lists of data/countries that the build puts into the
// program: nothing beside it to install or lose.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One record of a country's list: "0000" for a name day, "9999" for a
// holiday. The name is UTF-8, as the list files are written.
struct CountryEntry {
    int day = 0;
    int month = 0;
    std::string year;
    std::string name;
};

struct CountryCalendar {
    std::string code;                   // "SK"
    bool nameDays = false;              // false: the country's holidays alone
    std::vector<CountryEntry> entries;  // name days by date, then holidays
};

// The codes that have a list, in alphabetical order.
std::vector<std::string> CountryCodes();

// The country's list. The code's case and the blanks around it do not
// matter, as in HOLIDAYS=. False for a code without a list.
bool FindCountryCalendar(std::string_view code, CountryCalendar& calendar);
