// The content lines of an input, one at a time, in constant memory: line
// ends, encodings, folded lines and quoted-printable soft breaks undone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "contentlines/ByteSource.h"
#include "contentlines/ContentLine.h"

// What a line may hold before the rest is passed over unread: names and
// dates are short, a photo is not.
constexpr size_t kMaxLine = 64 * 1024;

// The text may start with a UTF-8 byte-order mark or be UTF-16 (with or
// without its mark; it is handed on as UTF-8). Lines end at LF, CR LF, CR
// or CR CR LF; blank lines are left out. Folded lines and quoted-printable
// soft line breaks are joined, but a blank line ends a value: phones write a
// soft break at the value's end ("...=D1=8F=", CR LF) before the empty line
// that ends the property; lines without a ":" are left out. Each line
// knows where it starts, counted as an editor counts: CR LF is one line end,
// CR and LF alone are one each.
class ContentLineReader {
public:
    explicit ContentLineReader(ByteSource& source);
    // The next content line; false at the end of the input.
    bool Next(ContentLine& line);
    // vCard 2.1 keeps the blank that starts a folded line; 3.0, 4.0 and
    // iCalendar drop it. Applies from the next line on.
    void KeepFoldBlank(bool keep) { m_keepFoldBlank = keep; }

private:
    bool Fill();
    void Decode(std::string_view raw);
    bool ReadPhysical(std::string& line, bool& cut, int& number, bool& afterBlank);
    void Append(std::string& to, std::string_view text, bool& cut) const;

    ByteSource& m_source;
    static constexpr size_t kPiece = 65536;
    std::unique_ptr<char[]> m_raw;  // a piece as read (not cleared: it is overwritten)
    std::string m_buffer;           // the piece as UTF-8 or 8-bit text
    size_t m_pos = 0;
    enum class Encoding { Unknown, Bytes, Utf16LE, Utf16BE } m_encoding = Encoding::Unknown;
    std::string m_odd;         // a UTF-16 byte waiting for its partner
    uint32_t m_surrogate = 0;  // a UTF-16 high surrogate waiting for its low one
    std::string m_next;        // the physical line after the current one
    int m_nextNumber = 0;
    int m_lineEnds = 0;      // line ends passed so far
    bool m_afterCR = false;  // the last byte passed was a CR (a LF after it ends no line)
    bool m_nextCut = false, m_hasNext = false, m_started = false, m_keepFoldBlank = false;
    bool m_nextAfterBlank = false;  // a blank line came before the next line
};

// All content lines of a text in memory.
std::vector<ContentLine> ReadContentLines(std::string_view text);
