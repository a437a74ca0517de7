// The public holidays that move with Easter, by country.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calendar/Easter.h"

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

// A holiday that moves with Easter as a calendar file lists it: its days
// from Easter Sunday by one computus, and its title (code page 1250).
struct ListedFeast {
    int offset;
    Computus computus;
    std::string name;
};

// The HOLIDAYS= codes of the countries whose moving holidays best match the
// listed ones: by title at the same distance from Easter first, then by
// distance alone. Several when they match equally well; none when no
// country has a holiday of the same name at the same distance.
std::vector<std::string> CountriesOfFeasts(const std::vector<ListedFeast>& feasts);
