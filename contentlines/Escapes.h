// The escapes of TEXT values that vCard and iCalendar share, and the case
// of the names of properties and parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a text value at each sep not escaped by "\", and undoes the escapes
// "\\", "\,", "\;" and "\n" (a line break becomes a blank), unless asked
// to keep them for a second split.
std::vector<std::string> SplitText(std::string_view value, char sep, bool keepEscapes = false);
std::string UnescapeText(std::string_view value);

std::string UpperAscii(std::string_view text);
