#include "import/ContentLines.h"

#include <cctype>

#include "import/Cp1250.h"
#include "records/TextLines.h"

namespace {

bool IsQuotedPrintable(std::string_view line)
{
    const std::string head = UpperAscii(line.substr(0, line.find(':')));
    return head.find("QUOTED-PRINTABLE") != std::string::npos;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
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
        } else {
            out += text[i];
        }
    }
    return out;
}

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

bool ParseLine(std::string_view line, ContentLine& out)
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

}  // namespace

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
    if (charset == "WINDOWS-1250" || charset == "CP1250")
        return cp1250::ToUtf8(value);
    if (charset == "ISO-8859-1" || charset == "WINDOWS-1252")
        return cp1250::Latin1ToUtf8(value);
    if (charset.empty() && !cp1250::IsUtf8(value))
        return cp1250::ToUtf8(value);
    return value;
}

std::string_view WithoutBom(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

std::vector<ContentLine> ReadContentLines(std::string_view text)
{
    text = WithoutBom(text);
    std::vector<ContentLine> lines;
    std::string current;
    auto flush = [&] {
        ContentLine line;
        if (!current.empty() && ParseLine(current, line))
            lines.push_back(std::move(line));
        current.clear();
    };
    ForEachLine(text, [&](std::string_view line, size_t) {
        const bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        const bool softBreak = !current.empty() && current.back() == '=' && IsQuotedPrintable(current);
        if (softBreak)
            current.pop_back();
        if (folded && !current.empty())
            current.append(line.substr(1));
        else if (softBreak)
            current.append(line);
        else {
            flush();
            current = std::string(line);
        }
    });
    flush();
    return lines;
}

std::vector<std::string> SplitText(std::string_view value, char sep)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            c = value[++i];
            if (c == 'n' || c == 'N')
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

namespace {

// The number of n digits at text[pos], or -1.
int Digits(std::string_view text, size_t pos, size_t n)
{
    if (pos + n > text.size())
        return -1;
    int value = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

bool ParseDate(std::string_view value, Date& date)
{
    value = value.substr(0, value.find_first_of("Tt"));
    const bool noYear = value.substr(0, 2) == "--";
    std::string text(value.substr(noYear ? 2 : 0));
    // The extended forms, "MM-DD" and "YYYY-MM-DD", to the basic ones.
    if (noYear && text.size() == 5 && text[2] == '-')
        text.erase(2, 1);
    if (!noYear && text.size() == 10 && text[4] == '-' && text[7] == '-')
        text.erase(7, 1).erase(4, 1);
    const size_t yearDigits = noYear ? 0 : 4;
    if (text.size() != yearDigits + 4)
        return false;
    date.year = noYear ? 0 : Digits(text, 0, 4);
    date.month = Digits(text, yearDigits, 2);
    date.day = Digits(text, yearDigits + 2, 2);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return date.year >= 0 && date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= kDays[date.month - 1];
}
