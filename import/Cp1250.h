// Code page 1250 <-> UTF-8 without the platform's conversion, so that the
// import reads and writes the same bytes on every system it builds on.
#pragma once

#include <string>
#include <string_view>

namespace cp1250 {

// A character the code page cannot hold, or a byte that is not UTF-8,
// becomes "?"; lossy (if given) is then set to true.
std::string FromUtf8(std::string_view utf8, bool* lossy = nullptr);

// The five bytes without a character become "?".
std::string ToUtf8(std::string_view text);

// ISO 8859-1 bytes, whose values are their code points.
std::string Latin1ToUtf8(std::string_view text);

bool IsUtf8(std::string_view text);

}  // namespace cp1250
