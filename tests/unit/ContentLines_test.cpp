// The text layer: date values, code page 1250, and content lines read from
// any line ends, encodings and piece sizes.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Entries.h"
#include "contentlines/ContentLineReader.h"
#include "contentlines/Cp1250.h"
#include "contentlines/Dates.h"

namespace {

TEST(ImportDates, FormsExportersWrite)
{
    // clang-format off
    const struct {
        const char *value, *date;  // day.month.year, "" for no date
    } cases[] = {
        {"19500305", "5.3.1950"}, {"1950-03-05", "5.3.1950"}, {"1950-03-05T00:00:00Z", "5.3.1950"},
        {"--0305", "5.3.0"}, {"--03-05", "5.3.0"}, {"19870229", "29.2.1987"}, {"19870230", ""},
        {"1950-04-31", ""}, {"1950-00-10", ""}, {"1985", ""}, {"1950-0305", ""}, {"--03-5", ""}, {"", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        Date d;
        const bool ok = ParseDate(c.value, d);
        const std::string shown = std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
        EXPECT_EQ(ok ? shown : "", c.date) << c.value;
    }
}

TEST(ImportCp1250, ConvertsNamesAndMarksLosses)
{
    const struct {
        const char *utf8, *cp1250;
        bool lossy;
    } cases[] = {
        {"Dvo\xC5\x99\xC3\xA1kov\xC3\xA1 \xC5\xA0\xC5\xBD\xC5\xAE", "Dvo\xF8\xE1kov\xE1 \x8A\x8E\xD9", false},
        {"\xE2\x82\xAC \xE2\x80\x9E\xE2\x80\x9C", "\x80 \x84\x93", false},  // the euro and quotes
        {"\xE6\x97\xA5 \xF0\x9F\x8E\x82x", "? ?x", true},                   // CJK and an emoji: one "?" each
        {"a\xFF\x62\xC3", "a?b?", true},                                    // bytes that are not UTF-8
    };
    for (const auto& c : cases) {
        bool lossy = false;
        EXPECT_EQ(cp1250::FromUtf8(c.utf8, &lossy), c.cp1250) << c.utf8;
        EXPECT_EQ(lossy, c.lossy) << c.utf8;
    }
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const bool none = b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
        EXPECT_EQ(cp1250::FromUtf8(cp1250::ToUtf8(byte)), none ? "?" : byte) << b;
    }
}

// UTF-8 to UTF-16 bytes, low or high byte first.
std::string Utf16(const std::string& utf8, bool le)
{
    std::string out;
    const auto unit = [&](unsigned u) {
        out += static_cast<char>(le ? u & 0xFF : u >> 8);
        out += static_cast<char>(le ? u >> 8 : u & 0xFF);
    };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        unsigned cp = n == 1 ? b : b & (0x3F >> (n - 1));
        for (size_t k = 1; k < n; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000)
            unit(0xD800 + ((cp - 0x10000) >> 10)), cp = 0xDC00 + (cp & 0x3FF);
        unit(cp);
    }
    return out;
}

// Every line end, encoding and piece size reads as the same content lines,
// each knowing the line it starts on (CR LF one line end, CR or LF one each).
TEST(ImportText, AnyLineEndEncodingAndPieceSize)
{
    const Lines lines = {"Exported by: Phone",
                         "BEGIN:VCARD",
                         "VERSION:3.0",
                         "FN:Ji\xC5\x99\xC3\xAD \xF0\x9F\x8E\x82",
                         "PHOTO;ENCODING=b:" + std::string(kMaxLine + 10, 'Q'),
                         " QQQQ",
                         "",
                         "BDAY:1950-03",
                         " -05",
                         "END:VCARD"};
    // The first physical line of each content line, and what it reads as.
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "EXPORTED BY: Phone"}, {2, "BEGIN:VCARD"},
        {3, "VERSION:3.0"},        {4, "FN:Ji\xC5\x99\xC3\xAD \xF0\x9F\x8E\x82"},
        {5, "PHOTO:(cut)"},        {8, "BDAY:1950-03-05"},
        {10, "END:VCARD"}};
    for (const char* end : {"\n", "\r\n", "\r", "\r\r\n"}) {
        const int ends = end == std::string("\r\r\n") ? 2 : 1;  // as an editor counts them
        const std::string text = Join(lines, end);
        const std::string fromBegin = text.substr(text.find("BEGIN"));
        for (const std::string& bytes : {text, "\xEF\xBB\xBF" + fromBegin, "\xFF\xFE" + Utf16(text, true),
                                         "\xFE\xFF" + Utf16(text, false), Utf16(text, true)}) {
            const int first = bytes[0] == '\xEF' ? 2 : 1;  // without the line before BEGIN
            for (size_t piece : {1, 7, 65536}) {
                TextSource source(bytes, piece);
                ContentLineReader reader(source);
                std::vector<std::pair<int, std::string>> read;
                for (ContentLine line; reader.Next(line);)
                    read.emplace_back((line.number - 1) / ends + first,
                                      line.name + ":" + (line.cut ? "(cut)" : line.value));
                auto want = expected;
                want.erase(want.begin(), want.begin() + (first - 1));
                EXPECT_EQ(read, want) << bytes.size() << " bytes, end " << end[0] + 0 << end[1] + 0 << ", by " << piece;
            }
        }
    }
}

}  // namespace
