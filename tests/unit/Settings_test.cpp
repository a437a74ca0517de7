#include "app/Settings.h"
#include "records/Atoi.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Fields(const Settings& s)
{
    return {s.m_strDataFile, s.m_strFont1, s.m_strFace1, s.m_strSize1, s.m_strFont2, s.m_strFace2, s.m_strSize2};
}

Settings With(Settings s, std::string Settings::*member, std::string value)
{
    s.*member = std::move(value);
    return s;
}

const char kDefaultsWritten[] = "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\n"
                                "FONT2=Helvetica\r\nFACE2=NORMAL\r\nSIZE2=16\r\n";

TEST(SettingsDefaults, FollowTheLanguage)
{
    Settings read;  // all empty: every value must come from the text
    ApplySettingsText(read, kDefaultsWritten);
    EXPECT_EQ(Fields(DefaultSettings(0)), Fields(read));
    for (int czech : {1, INT_MIN})
        EXPECT_EQ(Fields(DefaultSettings(czech)), Fields(With(read, &Settings::m_strDataFile, "Sorvana.dat")));
}

TEST(SettingsParsing, LinesApplyByTheRules)
{
    const Settings d = DefaultSettings(0);
    const std::string longName(100000, 'x');
    const struct {
        const char* what;
        std::string text;
        Settings expected;
    } cases[] = {
        {"blanks around = stay in the value", "FILE = my.dat\r\n", With(d, &Settings::m_strDataFile, " my.dat")},
        {"value after the first =", "FILE=a=b.dat", With(d, &Settings::m_strDataFile, "a=b.dat")},
        {"no = takes the whole line", "; FILE names the data file\r\n",
         With(d, &Settings::m_strDataFile, "; FILE names the data file")},
        {"one line sets every key it contains", "FILE=SIZE1.dat\n",
         With(With(d, &Settings::m_strDataFile, "SIZE1.dat"), &Settings::m_strSize1, "SIZE1.dat")},
        {"keys are case-sensitive", "file=my.dat\r\nsize1=3\r\n", d},
        {"later lines win", "FILE=one.dat\r\nFILE=two.dat\r\n", With(d, &Settings::m_strDataFile, "two.dat")},
        {"FONT is the typeface, FACE the style", "FONT2=Times\nFACE2=ITALIC\n",
         With(With(d, &Settings::m_strFont2, "Times"), &Settings::m_strFace2, "ITALIC")},
        {"a CR elsewhere is kept", "FILE=a\r.dat\n", With(d, &Settings::m_strDataFile, "a\r.dat")},
        {"last line without a line end", "SIZE2=7", With(d, &Settings::m_strSize2, "7")},
        {"empty value", "FILE=\r\n", With(d, &Settings::m_strDataFile, "")},
        {"NUL and cp1250 bytes are ordinary", std::string("FILE=\x8E\0b.dat\r\n", 14),
         With(d, &Settings::m_strDataFile, std::string("\x8E\0b.dat", 7))},
        {"a very long line", "FILE=" + longName + "\r\n", With(d, &Settings::m_strDataFile, longName)},
    };
    for (const auto& c : cases) {
        Settings s = d;
        ApplySettingsText(s, c.text);
        EXPECT_EQ(Fields(s), Fields(c.expected)) << c.what;
    }
}

TEST(SettingsErrors, OpenErrorTextsByLanguage)
{
    EXPECT_EQ(SettingsOpenError(0),
              "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.");
    // "Chyba: Nemůžu otevřít soubor Sorvana.ini ... Soubor zřejmě v aktuálním adresáři neexistuje."
    EXPECT_EQ(SettingsOpenError(1),
              "Chyba: Nem\xF9\x9Eu otev\xF8\xEDt soubor Sorvana.ini\n\nSoubor z\xF8"
              "ejm\xEC v aktu\xE1ln\xEDm adres\xE1\xF8i neexistuje.");
}

TEST(FontDescriptionTest, StyleWordsAndHeight)
{
    const struct {
        const char *face, *style, *size;
        int height;
        bool italic;
        int weight;
        const char* expectedFace;
    } cases[] = {
        {"Helvetica", "ITALIC_BOLD", "18", 18, true, 800, "Helvetica"},
        {"Arial ", "NORMAL", " 20px", 20, false, 400, "Arial "},
        {"Arial", "BOLD_ITALIC", "big", 0, true, 800, "Arial"},
        {"Arial", "bold", "-12", -12, false, 400, "Arial"},
        {"Arial", "ITALIC", "99999999999", INT_MAX, true, 400, "Arial"},
        // 31 characters fit the platform's face name; more are cut.
        {"abcdefghijklmnopqrstuvwxyz01234", "", "1", 1, false, 400, "abcdefghijklmnopqrstuvwxyz01234"},
        {"abcdefghijklmnopqrstuvwxyz012345", "", "1", 1, false, 400, "abcdefghijklmnopqrstuvwxyz01234"},
    };
    for (const auto& c : cases) {
        const FontDescription d = DescribeFont(c.face, c.style, c.size);
        EXPECT_EQ(d.height, c.height) << c.size;
        EXPECT_EQ(d.italic, c.italic) << c.style;
        EXPECT_EQ(d.weight, c.weight) << c.style;
        EXPECT_EQ(d.face, c.expectedFace);
    }
}

TEST(AtoiSaturatingTest, ReadsLikeAtoiAndSaturates)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},       {"\t\n\v\f\r 7", 7}, {"20px", 20},      {"-5", -5},
        {"+7", 7},     {"- 5", 0},          {"+-5", 0},        {"0x10", 0},
        {"\xA0" "5", 0},  // no-break space is not C white space
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-99999999999999999999999999", INT_MIN},
    };
    for (auto [text, value] : cases)
        EXPECT_EQ(AtoiSaturating(text), value) << '"' << text << '"';
}

}  // namespace
