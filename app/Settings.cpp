#include "app/Settings.h"

#include <algorithm>
#include <climits>

#include "records/Atoi.h"
#include "records/TextLines.h"

namespace {

// The face-name field of the platform's font description holds 31
// characters and a terminating zero.
constexpr size_t kMaxFaceName = 31;

}  // namespace

const char* SettingsFileName(int uiLanguage)
{
    return uiLanguage ? "Sorvana.ini" : "Tolvari.ini";
}

Settings DefaultSettings(int uiLanguage)
{
    Settings s;
    s.m_strDataFile = uiLanguage ? "Sorvana.dat" : "Tolvari.dat";
    s.m_strFont1 = "Helvetica";
    s.m_strFace1 = "ITALIC_BOLD";
    s.m_strSize1 = "18";
    s.m_strFont2 = "Helvetica";
    s.m_strFace2 = "NORMAL";
    s.m_strSize2 = "16";
    return s;
}

void ApplySettingsText(Settings& values, std::string_view text)
{
    struct Entry {
        const char* key;
        std::string Settings::*member;
    };
    // Tested in this order; FONT names the typeface and FACE the style.
    static const Entry kEntries[] = {
        {"FILE", &Settings::m_strDataFile}, {"FONT1", &Settings::m_strFont1}, {"FACE1", &Settings::m_strFace1},
        {"SIZE1", &Settings::m_strSize1},   {"FONT2", &Settings::m_strFont2}, {"FACE2", &Settings::m_strFace2},
        {"SIZE2", &Settings::m_strSize2},
    };
    static const std::string_view kHolidays = "HOLIDAYS=";
    ForEachLine(text, [&](std::string_view line, size_t) {
        if (line.substr(0, kHolidays.size()) == kHolidays)
            values.m_strHolidays.assign(line.substr(kHolidays.size()));
        size_t equals = line.find('=');
        std::string_view value = equals == std::string_view::npos ? line : line.substr(equals + 1);
        for (const Entry& e : kEntries) {
            if (line.find(e.key) != std::string_view::npos)
                (values.*e.member).assign(value.data(), value.size());
        }
    });
}

std::string SettingsOpenError(int uiLanguage)
{
    if (uiLanguage) {
        // Czech in code page 1250: "Chyba: Nemůžu otevřít soubor Sorvana.ini / Soubor zřejmě v aktuálním
        // adresáři neexistuje."
        return "Chyba: Nem\xF9\x9Eu otev\xF8\xEDt soubor Sorvana.ini\n\nSoubor z\xF8"
               "ejm\xEC v aktu\xE1ln\xEDm adres\xE1\xF8i neexistuje.";
    }
    return "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.";
}

FontDescription DescribeFont(const std::string& face, const std::string& style, const std::string& size)
{
    FontDescription d;
    d.height = AtoiSaturating(std::string_view(size));
    d.italic = style.find("ITALIC") != std::string::npos;
    d.weight = style.find("BOLD") != std::string::npos ? 800 : 400;
    d.face = face.substr(0, kMaxFaceName);
    return d;
}

int ScaleFontHeight(int height, int dpi)
{
    const long long scaled = static_cast<long long>(height) * dpi;
    const long long rounded = (scaled < 0 ? scaled - 48 : scaled + 48) / 96;
    return static_cast<int>(std::clamp<long long>(rounded, INT_MIN, INT_MAX));
}
