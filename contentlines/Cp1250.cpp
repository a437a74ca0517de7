#include "contentlines/Cp1250.h"

#include <cstdint>

namespace cp1250 {
namespace {

// The code points of bytes 0x80 to 0xFF; 0 where the code page has none.
const uint16_t kHigh[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// The code point at text[i], moving i past it; -1 (and one byte on) for a
// byte that does not start a complete sequence.
long NextCodePoint(std::string_view text, size_t& i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (more < 0 || lead >= 0xF5 || text.size() - i < static_cast<size_t>(more))
        return -1;
    long cp = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        if ((c & 0xC0) != 0x80)
            return -1;
        cp = cp << 6 | (c & 0x3F);
    }
    i += static_cast<size_t>(more);
    return cp;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string FromUtf8(std::string_view utf8, bool* lossy)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const long cp = NextCodePoint(utf8, i);
        char byte = '?';
        if (cp >= 0 && cp < 0x80) {
            byte = static_cast<char>(cp);
        } else {
            for (int k = 0; k < 128; ++k) {
                if (kHigh[k] != 0 && kHigh[k] == cp)
                    byte = static_cast<char>(0x80 + k);
            }
        }
        if (byte == '?' && cp != '?' && lossy)
            *lossy = true;
        out += byte;
    }
    return out;
}

std::string ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        const uint32_t cp = b < 0x80 ? b : kHigh[b - 0x80];
        AppendUtf8(out, cp ? cp : '?');
    }
    return out;
}

std::string ToUtf8(std::string_view text, Charset charset)
{
    // ISO 8859-2 differs from code page 1250 only in A0 to BF (and has no
    // letters in 80 to 9F); windows-1252 from ISO 8859-1 only in 80 to 9F.
    static const uint16_t kLatin2A0[32] = {
        0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E,
        0x0164, 0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E,
        0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,
    };
    static const uint16_t k1252At80[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        uint32_t cp = b;
        if (charset == Charset::Latin2 && b >= 0xC0)
            cp = kHigh[b - 0x80];
        else if (charset == Charset::Latin2 && b >= 0xA0)
            cp = kLatin2A0[b - 0xA0];
        else if (charset == Charset::Windows1252 && b >= 0x80 && b < 0xA0)
            cp = k1252At80[b - 0x80];
        AppendUtf8(out, cp ? cp : '?');
    }
    return out;
}

bool IsUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        if (NextCodePoint(text, i) < 0)
            return false;
    }
    return true;
}

}  // namespace cp1250
