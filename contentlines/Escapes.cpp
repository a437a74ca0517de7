#include "contentlines/Escapes.h"

#include <cctype>

std::vector<std::string> SplitText(std::string_view value, char sep, bool keepEscapes)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            if (keepEscapes)
                parts.back() += c;
            c = value[++i];
            if ((c == 'n' || c == 'N') && !keepEscapes)
                c = ' ';
        } else if (c == sep) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

std::string UnescapeText(std::string_view value)
{
    return SplitText(value, '\0')[0];
}

std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}
