#include "contentlines/ContentLine.h"

#include "contentlines/Cp1250.h"
#include "contentlines/Escapes.h"
#include "contentlines/QuotedPrintable.h"

namespace {

// Splits at sep outside double quotes.
std::vector<std::string_view> SplitUnquoted(std::string_view text, char sep)
{
    std::vector<std::string_view> parts;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"')
            quoted = !quoted;
        if (i == text.size() || (text[i] == sep && !quoted)) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

}  // namespace

bool ParseContentLine(std::string_view line, ContentLine& out)
{
    // The value starts at the first ":" outside a quoted parameter value.
    size_t colon = std::string_view::npos;
    bool quoted = false;
    for (size_t i = 0; i < line.size() && colon == std::string_view::npos; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon == std::string_view::npos)
        return false;
    const std::vector<std::string_view> head = SplitUnquoted(line.substr(0, colon), ';');
    const size_t dot = head[0].find('.');
    if (dot != std::string_view::npos)
        out.group = std::string(head[0].substr(0, dot));
    out.name = UpperAscii(dot == std::string_view::npos ? head[0] : head[0].substr(dot + 1));
    for (size_t k = 1; k < head.size(); ++k) {
        const size_t equals = head[k].find('=');
        std::string_view value = equals == std::string_view::npos ? head[k] : head[k].substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        out.params.emplace_back(
            equals == std::string_view::npos ? std::string() : UpperAscii(head[k].substr(0, equals)),
            std::string(value));
    }
    out.value = std::string(line.substr(colon + 1));
    // "ENCODING=QUOTED-PRINTABLE", or in vCard 2.1 also the bare word.
    for (const auto& p : out.params) {
        if (UpperAscii(p.second) == "QUOTED-PRINTABLE" && (p.first.empty() || p.first == "ENCODING")) {
            out.value = DecodeQuotedPrintable(out.value);
            break;
        }
    }
    return true;
}

std::string ContentLine::Param(std::string_view paramName) const
{
    for (const auto& p : params) {
        if (p.first == paramName)
            return p.second;
    }
    return std::string();
}

std::string ContentLine::Utf8Value() const
{
    const std::string charset = UpperAscii(Param("CHARSET"));
    if (charset == "WINDOWS-1250" || charset == "CP1250" || charset == "X-CP1250")
        return cp1250::ToUtf8(value);
    if (charset == "ISO-8859-1" || charset == "LATIN1" || charset == "ISO8859-1")
        return cp1250::ToUtf8(value, cp1250::Charset::Latin1);
    if (charset == "ISO-8859-2" || charset == "LATIN2" || charset == "ISO8859-2")
        return cp1250::ToUtf8(value, cp1250::Charset::Latin2);
    if (charset == "WINDOWS-1252" || charset == "CP1252")
        return cp1250::ToUtf8(value, cp1250::Charset::Windows1252);
    // UTF-8, US-ASCII, none or one not known: 8-bit text that is not UTF-8
    // is most likely the Windows code page of the people this program serves.
    return cp1250::IsUtf8(value) ? value : cp1250::ToUtf8(value);
}
