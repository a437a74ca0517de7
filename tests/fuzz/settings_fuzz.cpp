// The settings reader on any bytes: the values it keeps agree with a plain
// line-by-line reading of the same text, a second reading changes nothing,
// and the font descriptions stay within what the platform's structure holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "app/Settings.h"

namespace {

bool SameValues(const Settings& a, const Settings& b)
{
    return a.m_strDataFile == b.m_strDataFile && a.m_strFont1 == b.m_strFont1 &&
           a.m_strFace1 == b.m_strFace1 && a.m_strSize1 == b.m_strSize1 &&
           a.m_strFont2 == b.m_strFont2 && a.m_strFace2 == b.m_strFace2 &&
           a.m_strSize2 == b.m_strSize2;
}

// The rules in their plainest form: split at LF, drop one CR before it, test
// each key as a substring, take the text after the first "=".
Settings Reference(std::string_view text, int uiLanguage)
{
    Settings s = DefaultSettings(uiLanguage);
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    const std::pair<const char*, std::string Settings::*> keys[] = {
        {"FILE", &Settings::m_strDataFile}, {"FONT1", &Settings::m_strFont1},
        {"FACE1", &Settings::m_strFace1},   {"SIZE1", &Settings::m_strSize1},
        {"FONT2", &Settings::m_strFont2},   {"FACE2", &Settings::m_strFace2},
        {"SIZE2", &Settings::m_strSize2},
    };
    for (const std::string& l : lines) {
        const size_t equals = l.find('=');
        const std::string value = equals == std::string::npos ? l : l.substr(equals + 1);
        for (const auto& key : keys) {
            if (l.find(key.first) != std::string::npos)
                s.*key.second = value;
        }
    }
    return s;
}

void CheckFont(const std::string& face, const std::string& style, const std::string& size)
{
    const FontDescription d = DescribeFont(face, style, size);
    FUZZ_CHECK(d.face.size() <= 31);
    FUZZ_CHECK(face.compare(0, d.face.size(), d.face) == 0);
    FUZZ_CHECK(d.italic == (style.find("ITALIC") != std::string::npos));
    FUZZ_CHECK(d.weight == (style.find("BOLD") != std::string::npos ? 800 : 400));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int uiLanguage = size % 2;

    Settings once = DefaultSettings(uiLanguage);
    ApplySettingsText(once, text);
    FUZZ_CHECK(SameValues(once, Reference(text, uiLanguage)));

    // Every value is fixed by the last line that names its key.
    Settings twice = once;
    ApplySettingsText(twice, text);
    FUZZ_CHECK(SameValues(once, twice));

    // Cut at a line end, the two parts read one after the other read like
    // the whole.
    const size_t lineEnd = size == 0 ? std::string_view::npos : text.find('\n', data[0] % size);
    const size_t cut = lineEnd == std::string_view::npos ? size : lineEnd + 1;
    Settings split = DefaultSettings(uiLanguage);
    ApplySettingsText(split, text.substr(0, cut));
    ApplySettingsText(split, text.substr(cut));
    FUZZ_CHECK(SameValues(split, once));

    CheckFont(once.m_strFont1, once.m_strFace1, once.m_strSize1);
    CheckFont(once.m_strFont2, once.m_strFace2, once.m_strSize2);
    return 0;
}
