// Quoted-printable, as vCard 2.1 and old calendars write 8-bit text: "=C5=A0"
// for a byte, "=" at a line's end for a soft break.
#pragma once

#include <string>
#include <string_view>

// Whether the line's name and parameters (before the first ":") mark its
// value quoted-printable, so that a "=" at its end joins the next line.
bool IsQuotedPrintable(std::string_view line);

// "=XX" to its byte; a "=" that ends the text (a soft break before the blank
// line that ends a value) is dropped; anything else is kept as it stands.
std::string DecodeQuotedPrintable(std::string_view text);
