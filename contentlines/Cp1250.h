// Code page 1250 <-> UTF-8 without the platform's conversion, so that the
// import reads and writes the same bytes on every system it builds on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cp1250 {

// A character the code page cannot hold, or a byte that is not UTF-8,
// becomes "?"; lossy (if given) is then set to true.
std::string FromUtf8(std::string_view utf8, bool* lossy = nullptr);

// The five bytes without a character become "?".
std::string ToUtf8(std::string_view text);

// The other 8-bit character sets exporters label their text with.
enum class Charset { Latin1, Latin2, Windows1252 };
std::string ToUtf8(std::string_view text, Charset charset);

bool IsUtf8(std::string_view text);

void AppendUtf8(std::string& out, uint32_t codePoint);

}  // namespace cp1250
