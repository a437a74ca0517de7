#include "contentlines/ContentLineReader.h"

#include <algorithm>

#include "contentlines/Cp1250.h"
#include "contentlines/QuotedPrintable.h"

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
        if (m_encoding == Encoding::Bytes)
            m_buffer.assign(raw);
        else
            Decode(raw);
    }
    return true;
}

// UTF-16 to UTF-8 into m_buffer; a unit or a surrogate pair cut by the end
// of the piece waits for the next one.
void ContentLineReader::Decode(std::string_view raw)
{
    std::string units = m_odd + std::string(raw);
    const size_t even = units.size() & ~size_t(1);
    m_odd = units.substr(even);
    const bool le = m_encoding == Encoding::Utf16LE;
    for (size_t i = 0; i < even; i += 2) {
        const unsigned char b0 = static_cast<unsigned char>(units[i]), b1 = static_cast<unsigned char>(units[i + 1]);
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

void ContentLineReader::Append(std::string& to, std::string_view text, bool& cut) const
{
    const size_t room = kMaxLine - std::min(kMaxLine, to.size());
    if (text.size() > room)
        cut = true;
    to.append(text.substr(0, room));
}

// The next non-blank physical line, at most kMaxLine bytes of it, the
// number of the line it is, and whether a blank line came before it.
bool ContentLineReader::ReadPhysical(std::string& line, bool& cut, int& number, bool& afterBlank)
{
    line.clear();
    cut = false;
    afterBlank = false;
    bool any = false;
    std::string ends;  // the line-end bytes before it, the first few
    for (;;) {
        if (m_pos == m_buffer.size() && !Fill())
            return any;
        const char* const begin = m_buffer.data() + m_pos;
        const char* const end = m_buffer.data() + m_buffer.size();
        const char* p = begin;
        if (!any) {
            for (; p < end && (*p == '\r' || *p == '\n'); ++p) {
                if (*p == '\r' || !m_afterCR)
                    ++m_lineEnds;
                m_afterCR = *p == '\r';
                if (ends.size() < 4)
                    ends += *p;
            }
            if (p == end) {
                m_pos = m_buffer.size();
                continue;
            }
            any = true;
            m_afterCR = false;
            number = m_lineEnds + 1;
            // One line end is LF, CR, CR LF, CR CR LF (or LF CR); more is a
            // blank line.
            afterBlank = ends.size() > 1 && ends != "\r\n" && ends != "\r\r\n" && ends != "\n\r";
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
        m_hasNext = ReadPhysical(m_next, m_nextCut, m_nextNumber, m_nextAfterBlank);
    while (m_hasNext) {
        std::string current;
        current.swap(m_next);
        const int number = m_nextNumber;
        bool cut = m_nextCut;
        while ((m_hasNext = ReadPhysical(m_next, m_nextCut, m_nextNumber, m_nextAfterBlank))) {
            const bool folded = m_next[0] == ' ' || m_next[0] == '\t';
            const bool softBreak =
                !current.empty() && current.back() == '=' && !m_nextAfterBlank && IsQuotedPrintable(current);
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
        if (ParseContentLine(current, line)) {
            line.cut = cut;
            line.number = number;
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
