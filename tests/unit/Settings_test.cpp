#include "app/Settings.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* what;
    std::string text;
    Settings expected;
};

Settings With(Settings s, std::string Settings::*member, std::string value)
{
    s.*member = std::move(value);
    return s;
}

void ExpectSame(const Settings& a, const Settings& b, const char* what)
{
    EXPECT_EQ(a.m_strDataFile, b.m_strDataFile) << what;
    EXPECT_EQ(a.m_strFont1, b.m_strFont1) << what;
    EXPECT_EQ(a.m_strFace1, b.m_strFace1) << what;
    EXPECT_EQ(a.m_strSize1, b.m_strSize1) << what;
    EXPECT_EQ(a.m_strFont2, b.m_strFont2) << what;
    EXPECT_EQ(a.m_strFace2, b.m_strFace2) << what;
    EXPECT_EQ(a.m_strSize2, b.m_strSize2) << what;
}

TEST(SettingsDefaults, FollowTheLanguage)
{
    const Settings en = DefaultSettings(0);
    EXPECT_EQ(en.m_strDataFile, "Tolvari.dat");
    EXPECT_EQ(en.m_strFont1, "Helvetica");
    EXPECT_EQ(en.m_strFace1, "ITALIC_BOLD");
    EXPECT_EQ(en.m_strSize1, "18");
    EXPECT_EQ(en.m_strFont2, "Helvetica");
    EXPECT_EQ(en.m_strFace2, "NORMAL");
    EXPECT_EQ(en.m_strSize2, "16");
    for (int czech : {1, -1, INT_MIN}) {
        const Settings cz = DefaultSettings(czech);
        ExpectSame(cz, With(en, &Settings::m_strDataFile, "Sorvana.dat"), "czech");
    }
    EXPECT_STREQ(SettingsFileName(0), "Tolvari.ini");
    EXPECT_STREQ(SettingsFileName(1), "Sorvana.ini");
}

TEST(SettingsParsing, LinesApplyByTheRules)
{
    const Settings d = DefaultSettings(0);
    const std::string longName(100000, 'x');
    const ParseCase cases[] = {
        {"empty file", "", d},
        {"the defaults written out",
         "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\nFONT2=Helvetica\r\n"
         "FACE2=NORMAL\r\nSIZE2=16\r\n",
         d},
        {"blanks around = stay in the value", "FILE = my.dat\r\n",
         With(d, &Settings::m_strDataFile, " my.dat")},
        {"value after the first =", "FILE=a=b.dat", With(d, &Settings::m_strDataFile, "a=b.dat")},
        {"no = takes the whole line", "; FILE names the data file\r\n",
         With(d, &Settings::m_strDataFile, "; FILE names the data file")},
        {"one line sets every key it contains", "FILE=SIZE1.dat\n",
         With(With(d, &Settings::m_strDataFile, "SIZE1.dat"), &Settings::m_strSize1, "SIZE1.dat")},
        {"keys are case-sensitive", "file=my.dat\r\nsize1=3\r\n", d},
        {"later lines win", "FILE=one.dat\r\nFILE=two.dat\r\n",
         With(d, &Settings::m_strDataFile, "two.dat")},
        {"key anywhere in the line", "[x] myFILE=z.dat", With(d, &Settings::m_strDataFile, "z.dat")},
        {"FONT is the typeface, FACE the style", "FONT1=Arial \nFACE1=BOLD\n",
         With(With(d, &Settings::m_strFont1, "Arial "), &Settings::m_strFace1, "BOLD")},
        {"font 2 keys", "FONT2=Times\nFACE2=ITALIC\nSIZE2= 20\n",
         With(With(With(d, &Settings::m_strFont2, "Times"), &Settings::m_strFace2, "ITALIC"),
              &Settings::m_strSize2, " 20")},
        {"LF line ends", "FILE=a.dat\nSIZE1=9\n",
         With(With(d, &Settings::m_strDataFile, "a.dat"), &Settings::m_strSize1, "9")},
        {"CR before LF is the line end", "FILE=a.dat\r\n", With(d, &Settings::m_strDataFile, "a.dat")},
        {"a CR elsewhere is kept", "FILE=a\r.dat\n", With(d, &Settings::m_strDataFile, "a\r.dat")},
        {"last line without a line end", "SIZE2=7", With(d, &Settings::m_strSize2, "7")},
        {"empty value", "FILE=\r\n", With(d, &Settings::m_strDataFile, "")},
        {"NUL bytes are ordinary", std::string("FILE=a\0b.dat\r\n", 14),
         With(d, &Settings::m_strDataFile, std::string("a\0b.dat", 7))},
        {"cp1250 value kept", "FILE=\x8Eivot.dat\r\n",
         With(d, &Settings::m_strDataFile, "\x8Eivot.dat")},
        {"a very long line", "FILE=" + longName + "\r\n", With(d, &Settings::m_strDataFile, longName)},
    };
    for (const ParseCase& c : cases) {
        Settings s = d;
        ApplySettingsText(s, c.text);
        ExpectSame(s, c.expected, c.what);
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

struct FontCase {
    const char* face;
    const char* style;
    const char* size;
    int height;
    bool italic;
    int weight;
    const char* expectedFace;
};

TEST(FontDescriptionTest, StyleWordsAndHeight)
{
    const FontCase cases[] = {
        {"Helvetica", "ITALIC_BOLD", "18", 18, true, 800, "Helvetica"},
        {"Helvetica", "NORMAL", "16", 16, false, 400, "Helvetica"},
        {"Arial", "BOLD", "10", 10, false, 800, "Arial"},
        {"Arial", "ITALIC", "10", 10, true, 400, "Arial"},
        {"Arial", "BOLD_ITALIC", "10", 10, true, 800, "Arial"},
        {"Arial", "bold", "10", 10, false, 400, "Arial"},
        {"Arial", "", " 20", 20, false, 400, "Arial"},
        {"Arial", "NORMAL", "20px", 20, false, 400, "Arial"},
        {"Arial", "NORMAL", "big", 0, false, 400, "Arial"},
        {"Arial", "NORMAL", "SIZE1.dat", 0, false, 400, "Arial"},
        {"Arial", "NORMAL", "-12", -12, false, 400, "Arial"},
        {"Arial", "NORMAL", "99999999999", INT_MAX, false, 400, "Arial"},
        {"Arial ", "NORMAL", "8", 8, false, 400, "Arial "},
        {"", "NORMAL", "8", 8, false, 400, ""},
        // 31 characters fit the platform's face name; more are cut.
        {"abcdefghijklmnopqrstuvwxyz01234", "", "1", 1, false, 400, "abcdefghijklmnopqrstuvwxyz01234"},
        {"abcdefghijklmnopqrstuvwxyz012345", "", "1", 1, false, 400, "abcdefghijklmnopqrstuvwxyz01234"},
        {"abcdefghijklmnopqrstuvwxyz0123456789", "", "1", 1, false, 400,
         "abcdefghijklmnopqrstuvwxyz01234"},
    };
    for (const FontCase& c : cases) {
        const FontDescription d = DescribeFont(c.face, c.style, c.size);
        EXPECT_EQ(d.height, c.height) << c.face << "/" << c.style << "/" << c.size;
        EXPECT_EQ(d.italic, c.italic) << c.style;
        EXPECT_EQ(d.weight, c.weight) << c.style;
        EXPECT_EQ(d.face, c.expectedFace);
    }
}

TEST(AtoiSaturatingTest, ReadsLikeAtoiAndSaturates)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},
        {"18", 18},
        {" 20", 20},
        {"\t\n\v\f\r 7", 7},
        {"20px", 20},
        {"big", 0},
        {"-5", -5},
        {"+7", 7},
        {"- 5", 0},
        {"+-5", 0},
        {"0x10", 0},
        {"00042", 42},
        {"1950 ", 1950},
        {"\xA0" "5", 0},  // no-break space is not C white space
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AtoiSaturating(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(AtoiSaturating(nullptr), 0);
}

}  // namespace
