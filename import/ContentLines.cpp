#include "import/ContentLines.h"

#include <algorithm>
#include <cctype>

#include "import/Cp1250.h"
#include "records/FileSystem.h"

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

size_t TextSource::Read(char* buffer, size_t size)
{
    const size_t n = std::min({size, m_piece, m_text.size()});
    std::copy(m_text.data(), m_text.data() + n, buffer);
    m_text.remove_prefix(n);
    return n;
}

FileSource::FileSource(const std::string& path) : m_file(filesys::OpenToRead(path)) {}

FileSource::~FileSource()
{
    if (m_file)
        std::fclose(m_file);
}

size_t FileSource::Read(char* buffer, size_t size)
{
    if (!m_file || m_failed)
        return 0;
    const size_t n = std::fread(buffer, 1, size, m_file);
    if (n == 0 && std::ferror(m_file))
        m_failed = true;
    return n;
}

ContentLineReader::ContentLineReader(ByteSource& source) : m_source(source), m_raw(new char[kPiece]) {}

// The next piece of text into m_buffer; false at the end.
bool ContentLineReader::Fill()
{
    m_buffer.clear();
    m_pos = 0;
    while (m_buffer.empty()) {
        size_t n = m_source.Read(m_raw.get(), kPiece);
        // The first bytes tell the encoding: gather enough of them.
        while (!m_started && n < 4) {
            const size_t more = m_source.Read(&m_raw[n], 4 - n);
            if (more == 0)
                break;
            n += more;
        }
        if (n == 0)
            return false;
        std::string_view raw(m_raw.get(), n);
        if (!m_started) {
            m_started = true;
            m_encoding = Encoding::Bytes;
            if (raw.substr(0, 3) == "\xEF\xBB\xBF")
                raw.remove_prefix(3);
            else if (raw.substr(0, 2) == "\xFF\xFE" || (raw.size() > 1 && raw[0] != 0 && raw[1] == 0))
                m_encoding = Encoding::Utf16LE;
            else if (raw.substr(0, 2) == "\xFE\xFF" || (raw.size() > 1 && raw[0] == 0 && raw[1] != 0))
                m_encoding = Encoding::Utf16BE;
        }
        if (m_encoding == Encoding::Bytes) {
            m_buffer.assign(raw);
            continue;
        }
        std::string units = m_odd + std::string(raw);
        const size_t even = units.size() & ~size_t(1);
        m_odd = units.substr(even);
        const bool le = m_encoding == Encoding::Utf16LE;
        for (size_t i = 0; i < even; i += 2) {
            const unsigned char b0 = static_cast<unsigned char>(units[i]),
                                b1 = static_cast<unsigned char>(units[i + 1]);
            const uint32_t unit = le ? (b1 << 8 | b0) : (b0 << 8 | b1);
            if (unit >= 0xD800 && unit < 0xDC00) {
                m_surrogate = unit;
                continue;
            }
            uint32_t cp = unit;
            if (unit >= 0xDC00 && unit < 0xE000)
                cp = m_surrogate ? 0x10000 + ((m_surrogate - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD;
            m_surrogate = 0;
            if (cp != 0xFEFF)
                cp1250::AppendUtf8(m_buffer, cp);
        }
    }
    return true;
}

void ContentLineReader::Append(std::string& to, std::string_view text, bool& cut) const
{
    const size_t room = kMaxLine - std::min(kMaxLine, to.size());
    if (text.size() > room)
        cut = true;
    to.append(text.substr(0, room));
}

// The next non-blank physical line, at most kMaxLine bytes of it.
bool ContentLineReader::ReadPhysical(std::string& line, bool& cut)
{
    line.clear();
    cut = false;
    bool any = false;
    for (;;) {
        if (m_pos == m_buffer.size() && !Fill())
            return any;
        const char* const begin = m_buffer.data() + m_pos;
        const char* const end = m_buffer.data() + m_buffer.size();
        const char* p = begin;
        if (!any) {
            while (p < end && (*p == '\r' || *p == '\n'))
                ++p;
            if (p == end) {
                m_pos = m_buffer.size();
                continue;
            }
            any = true;
        }
        const char* stop = p;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        Append(line, std::string_view(p, static_cast<size_t>(stop - p)), cut);
        m_pos = static_cast<size_t>(stop - m_buffer.data());
        if (stop < end)
            return true;
    }
}

bool ContentLineReader::Next(ContentLine& out)
{
    if (!m_hasNext)
        m_hasNext = ReadPhysical(m_next, m_nextCut);
    while (m_hasNext) {
        std::string current;
        current.swap(m_next);
        bool cut = m_nextCut;
        while ((m_hasNext = ReadPhysical(m_next, m_nextCut))) {
            const bool folded = m_next[0] == ' ' || m_next[0] == '\t';
            const bool softBreak = !current.empty() && current.back() == '=' && IsQuotedPrintable(current);
            if (!softBreak && !folded)
                break;
            // A soft break keeps a blank that starts the next line.
            if (softBreak)
                current.pop_back();
            Append(current,
                   softBreak || m_keepFoldBlank ? std::string_view(m_next) : std::string_view(m_next).substr(1), cut);
            cut = cut || m_nextCut;
        }
        ContentLine line;
        if (ParseLine(current, line)) {
            line.cut = cut;
            out = std::move(line);
            return true;
        }
    }
    return false;
}

std::vector<ContentLine> ReadContentLines(std::string_view text)
{
    TextSource source(text);
    ContentLineReader reader(source);
    std::vector<ContentLine> lines;
    ContentLine line;
    while (reader.Next(line))
        lines.push_back(std::move(line));
    return lines;
}

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

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
long long DaysOf(int year, int month, int day)
{
    const long long y = year - (month <= 2);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

Date DateOfDays(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    Date date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2));
    return date;
}
