// Synthetic data files for the benchmarks: the fixed calendar, holidays and
// a realistic crowd of birthdays and anniversaries, names in code page 1250.
#pragma once

#include <string>

// The bytes of a data file of exactly `records` records (CR LF line ends,
// both headers). The first 366 records are calendar entries, one per day of
// a leap year; the rest are mostly birthdays with a year, some holidays
// ("9999") and some anniversaries without years ("8888").
std::string GenerateDataFile(int records, unsigned seed = 1);
