#include "bench/PeerFormats.h"

#include "records/DataFile.h"
#include "records/TextLines.h"

namespace {

// Code points of the bytes 0x80..0xFF; "?" where the code page has none.
const unsigned short kCp1250High[128] = {
    0x20AC, 0x003F, 0x201A, 0x003F, 0x201E, 0x2026, 0x2020, 0x2021, 0x003F, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x003F, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x003F, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

const char* const kMonthAbbrev[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A day or month field as its number, or 0 unless it is 1 or 2 digits
// within 1..limit: the peers have no way to say anything else.
int FieldNumber(std::string_view text, int limit)
{
    if (text.empty() || text.size() > 2)
        return 0;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= limit ? value : 0;
}

bool IsYear(std::string_view year)
{
    if (year.size() != 4 || year == "0000" || year == "8888" || year == "9999")
        return false;
    for (char c : year) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

void AppendTwoDigits(std::string& out, int value)
{
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

// remind reads "%" and "[" inside MSG as its own syntax.
std::string RemindEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%')
            out += "%%";
        else if (c == '[')
            out += "[\"[\"]";
        else
            out += c;
    }
    return out;
}

void AppendRecord(std::string& out, const RecordFields& f, int day, int month, PeerFormat format)
{
    const std::string name = Cp1250ToUtf8(f.name);
    switch (format) {
    case PeerFormat::Calendar:
        // The file goes through the C preprocessor, where "/*" opens a comment.
        if (name.find("/*") != std::string::npos)
            return;
        AppendTwoDigits(out, month);
        out += '/';
        AppendTwoDigits(out, day);
        out += '\t';
        out += name;
        break;
    case PeerFormat::Remind:
        out += "REM " + std::to_string(day) + " " + kMonthAbbrev[month - 1] + " +7 MSG ";
        out += RemindEscape(name);
        break;
    case PeerFormat::Pal:
        out += "0000";
        AppendTwoDigits(out, month);
        AppendTwoDigits(out, day);
        out += ' ';
        out += name;
        break;
    case PeerFormat::Birthday:
        // The name ends at the first "=", and has no escape for one.
        if (name.find('=') != std::string::npos)
            return;
        out += name;
        out += '=';
        AppendTwoDigits(out, day);
        out += '/';
        AppendTwoDigits(out, month);
        if (IsYear(f.year)) {
            out += '/';
            out += f.year;
        } else if (f.year == "0000" || f.year == "9999") {
            out += " ev";
        }
        break;
    }
    out += '\n';
}

}  // namespace

bool ParsePeerFormat(std::string_view name, PeerFormat& format)
{
    const struct {
        const char* name;
        PeerFormat format;
    } kNames[] = {{"calendar", PeerFormat::Calendar},
                  {"remind", PeerFormat::Remind},
                  {"pal", PeerFormat::Pal},
                  {"birthday", PeerFormat::Birthday}};
    for (const auto& n : kNames) {
        if (name == n.name) {
            format = n.format;
            return true;
        }
    }
    return false;
}

std::string Cp1250ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
            continue;
        }
        const unsigned code = kCp1250High[b - 0x80];
        if (code < 0x80) {
            out += static_cast<char>(code);
            continue;
        }
        if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
        } else {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        }
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

std::string ConvertDataFile(std::string_view tolvariBytes, PeerFormat format)
{
    std::string out;
    out.reserve(tolvariBytes.size() + tolvariBytes.size() / 4);
    if (format == PeerFormat::Pal)
        out += "TV Tolvari\n";
    ForEachLine(tolvariBytes, [&](std::string_view line, size_t) {
        RecordFields f;
        if (!ParseRecordLine(line, f))
            return;
        const int day = FieldNumber(f.day, 31);
        const int month = FieldNumber(f.month, 12);
        if (day != 0 && month != 0)
            AppendRecord(out, f, day, month, format);
    });
    return out;
}
