// The public holidays that move with Easter, by country.
#pragma once

#include <string_view>
#include <vector>

struct HolidayCountry;

// The country a HOLIDAYS= value names: its two-letter code in any case,
// blanks and tabs around it ignored. nullptr for any other value.
const HolidayCountry* FindHolidayCountry(std::string_view value);

// Appends the country's holidays on that Gregorian date, in the order of its
// table, as code page 1250 texts. None before 1583 or on a date no holiday
// of that year reaches.
void MovableHolidaysOn(const HolidayCountry& country, int day, int month, int year, std::vector<const char*>& names);

// One of a country's holidays in a given year.
struct MovableHolidayDate {
    int day, month;
    int offset;  // days from Easter Sunday, one holiday's own in its country
    const char* name;
};

// The country's holidays of a year, in the order of its table; none where
// MovableHolidaysOn has none.
std::vector<MovableHolidayDate> MovableHolidaysOf(const HolidayCountry& country, int year);

// The country's code in capitals, as "CZ".
const char* HolidayCountryCode(const HolidayCountry& country);
