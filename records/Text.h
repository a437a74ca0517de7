// Conversion between the program's code page 1250 texts and the wide API.
#pragma once

#include <string>
#include <string_view>

namespace tolvari {

std::wstring Widen(std::string_view cp1250);
// A character that code page 1250 cannot hold becomes "?".
std::string Narrow(std::wstring_view text);

}  // namespace tolvari
