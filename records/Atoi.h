// Decimal text to int the way atoi reads it, without its overflow.
#pragma once

#include <string_view>

// Skips leading white space (the "C" locale's: blank, \t, \n, \v, \f, \r),
// takes an optional sign and then the digits up to the first non-digit; 0 if
// there are none. Values beyond the int range give INT_MIN or INT_MAX.
int AtoiSaturating(std::string_view text);
