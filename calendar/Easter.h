// Easter Sunday by the Western and the Orthodox computus.
#pragma once

enum class Computus {
    Western,   // the Gregorian rules of 1582
    Orthodox,  // the Julian calendar's Easter, expressed as a Gregorian date
};

// The Gregorian rules begin with 1583; earlier years have no Easter here.
constexpr int kFirstComputusYear = 1583;

// Easter Sunday of the year as days after 1 March of the Gregorian calendar
// (21 is 22 March), or -1 before kFirstComputusYear. Defined for every year
// up to INT_MAX. The Orthodox Easter falls three days later every four
// centuries, so in far years it can lie beyond 31 December (day 305).
int EasterAfterMarch1(int year, Computus method);

// The day and month of a day after 1 March (0 is 1 March), for 0..305;
// false outside that range. March to December have the same lengths in
// every year.
bool DateAfterMarch1(int days, int& day, int& month);
