// The settings reader on any bytes: every value it keeps is its default or a
// piece of the text, and the fonts stay within what the platform takes.
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "app/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Settings defaults = DefaultSettings(0);
    Settings s = defaults;
    ApplySettingsText(s, text);
    for (std::string Settings::*value : {&Settings::m_strDataFile, &Settings::m_strFont1, &Settings::m_strFace1,
                                         &Settings::m_strSize1, &Settings::m_strFont2, &Settings::m_strFace2,
                                         &Settings::m_strSize2, &Settings::m_strHolidays})
        FUZZ_CHECK(s.*value == defaults.*value || text.find(s.*value) != std::string_view::npos);
    const FontDescription d = DescribeFont(s.m_strFont1, s.m_strFace1, s.m_strSize1);
    FUZZ_CHECK(d.face.size() <= 31 && ScaleFontHeight(d.height, 96) == d.height);
    return 0;
}
