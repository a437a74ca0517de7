// The settings file: the data file's name and the two report fonts.
#pragma once

#include <string>
#include <string_view>

// All values are texts, kept exactly as read.
struct Settings {
    std::string m_strDataFile;
    std::string m_strFont1;  // typeface name of font 1
    std::string m_strFace1;  // style words of font 1
    std::string m_strSize1;  // height of font 1
    std::string m_strFont2;
    std::string m_strFace2;
    std::string m_strSize2;
    std::string m_strHolidays;  // the country of the movable holidays; empty by default
};

// "Tolvari.ini", or "Sorvana.ini" for a nonzero (Czech) language.
const char* SettingsFileName(int uiLanguage);

// The defaults; the data file's name follows the language.
Settings DefaultSettings(int uiLanguage);

// Applies the lines of a settings file's bytes to values. Each line is tested
// for every key, as a case-sensitive substring anywhere in it; a matching key
// takes the rest of the line after its first "=", or the whole line without
// one. Later lines win. HOLIDAYS is read only from a line that starts with
// "HOLIDAYS=", and takes the rest of that line.
void ApplySettingsText(Settings& values, std::string_view text);

// The text of the error box when the settings file cannot be opened.
std::string SettingsOpenError(int uiLanguage);

// What a font is built from: the platform's font description, minus all
// that stays zero.
struct FontDescription {
    int height;        // atoi of the size text
    bool italic;       // style words contain "ITALIC"
    int weight;        // 800 if they contain "BOLD", else 400
    std::string face;  // cut to the platform's 31 characters
};

FontDescription DescribeFont(const std::string& face, const std::string& style, const std::string& size);

// A SIZE is pixels at 96 DPI: the height for a window at dpi, rounded as
// MulDiv rounds and kept within int.
int ScaleFontHeight(int height, int dpi);
