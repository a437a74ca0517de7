// The line syntax vCard and iCalendar share: "group.NAME;PARAM=value:value",
// long lines folded onto lines that start with a blank or tab.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The bytes of one input, piece by piece, so that no input is held whole.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 at the end or after an error.
    virtual size_t Read(char* buffer, size_t size) = 0;
    virtual bool Failed() const { return false; }
};

// A text in memory, handed out at most piece bytes at a time.
class TextSource : public ByteSource {
public:
    explicit TextSource(std::string_view text, size_t piece = 65536) : m_text(text), m_piece(piece) {}
    size_t Read(char* buffer, size_t size) override;

private:
    std::string_view m_text;
    size_t m_piece;
};

// A file opened by name (records/FileSystem.h).
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool IsOpen() const { return m_file != nullptr; }
    size_t Read(char* buffer, size_t size) override;
    bool Failed() const override { return m_failed; }

private:
    std::FILE* m_file;
    bool m_failed = false;
};

struct ContentLine {
    std::string group;  // vCard's "item1." prefix, without the dot
    std::string name;   // upper case
    // Parameter names in upper case, values without their quotes. A bare
    // vCard 2.1 parameter ("TEL;HOME:") has an empty name.
    std::vector<std::pair<std::string, std::string>> params;
    std::string value;  // as written, quoted-printable already decoded
    bool cut = false;   // longer than kMaxLine: only its start is kept

    // The value of a parameter, or "" if absent.
    std::string Param(std::string_view paramName) const;
    // The value as UTF-8: CHARSET= applied, or, without it, bytes that are
    // not UTF-8 taken as code page 1250.
    std::string Utf8Value() const;
};

// What a line may hold before the rest is passed over unread: names and
// dates are short, a photo is not.
constexpr size_t kMaxLine = 64 * 1024;

// The content lines of an input, one at a time, in constant memory. The
// text may start with a UTF-8 byte-order mark or be UTF-16 (with or
// without its mark; it is handed on as UTF-8). Lines end at LF, CR LF, CR
// or CR CR LF; blank lines are left out. Folded lines and quoted-printable
// soft line breaks are joined; lines without a ":" are left out.
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
    bool ReadPhysical(std::string& line, bool& cut);
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
    bool m_nextCut = false, m_hasNext = false, m_started = false, m_keepFoldBlank = false;
};

// All content lines of a text in memory.
std::vector<ContentLine> ReadContentLines(std::string_view text);

// Splits a text value at each sep not escaped by "\", and undoes the escapes
// "\\", "\,", "\;" and "\n" (a line break becomes a blank), unless asked
// to keep them for a second split.
std::vector<std::string> SplitText(std::string_view value, char sep, bool keepEscapes = false);
std::string UnescapeText(std::string_view value);

std::string UpperAscii(std::string_view text);

// A calendar date of the forms exporters write: 19500305, 1950-03-05, either
// with a time after "T", or without the year: --0305, --03-05. Year 0 means
// no year; 29 February is valid in any year.
struct Date {
    int day = 0, month = 0, year = 0;
};
bool ParseDate(std::string_view value, Date& date);

// Days since 1 January 1970 of a date of the Gregorian calendar, and back.
long long DaysOf(int year, int month, int day);
Date DateOfDays(long long days);
