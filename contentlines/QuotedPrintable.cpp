#include "contentlines/QuotedPrintable.h"

#include <cctype>

#include "contentlines/Escapes.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

}  // namespace

bool IsQuotedPrintable(std::string_view line)
{
    const std::string head = UpperAscii(line.substr(0, line.find(':')));
    return head.find("QUOTED-PRINTABLE") != std::string::npos;
}

std::string DecodeQuotedPrintable(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const int hi = text[i] == '=' && i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = hi >= 0 ? HexDigit(text[i + 2]) : -1;
        if (lo >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (text[i] == '=' && i + 1 == text.size()) {
            // A soft break that ends the value (before a blank line) is no text.
        } else {
            out += text[i];
        }
    }
    return out;
}
