#include "import/BirthdayOrHoliday.h"

#include <initializer_list>

#include "contentlines/Cp1250.h"
#include "import/Entry.h"

namespace {

// Text lowered for word search, in code page 1250 so that the letters of
// Central European languages compare without their case.
std::string Lowered(const std::string& utf8)
{
    std::string text = cp1250::FromUtf8(utf8);
    for (char& c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            b = static_cast<unsigned char>(b + 0x20);
        else if (b == 0x8A || (b >= 0x8C && b <= 0x8F))
            b = static_cast<unsigned char>(b + 0x10);
        else if (b == 0xA3 || b == 0xAA || b == 0xAF)
            b = static_cast<unsigned char>(b + 0x10);
        else if (b == 0xA5)
            b = 0xB9;
        else if (b == 0xBC)
            b = 0xBE;
        c = static_cast<char>(b);
    }
    return text;
}

bool HasWord(const std::string& utf8, std::initializer_list<const char*> words)
{
    const std::string lower = Lowered(utf8);
    for (const char* word : words) {
        if (lower.find(word) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

// clang-format off
// The words as code page 1250 text in lower case.
bool SaysBirthday(const std::string& utf8)
{
    return HasWord(utf8, {"birthday", "narozenin", "narodenin", "urodzin", "sz\xFClet\xE9snap", "rojstn",
                          "geburtstag", "ro\xF0" "endan", "zi de na",
                          "anniversar", "aniversar", "v\xFDro\xE8", "rocznic", "\xE9vfordul", "obletnic",
                          "godi\x9Anjic", "jahrestag", "hochzeitstag"});
}

bool SaysHoliday(const std::string& utf8)
{
    return HasWord(utf8, {"holiday", "feiertag", "sv\xE1tk", "sviatk", "\x9Cwi\xEAt", "swiet", "\xFCnnep",
                          "praznik", "blagdan", "s\xE3rb\xE3tor", "festiv"});
}
// clang-format on

std::string YearOf(const Event& event, const Date& start, const CalendarKind& calendar)
{
    if (calendar.holidays || event.category < 0)
        return "9999";
    const bool birthday = event.category > 0 || calendar.birthdays || event.special || SaysBirthday(event.summary);
    if (!birthday)
        return "9999";
    Moment created;
    if (ParseMoment(event.created, created) &&
        DaysOf(start.year + 1, start.month, start.month == 2 && start.day == 29 ? 28 : start.day) <
            DaysOf(created.date.year, created.date.month, created.date.day))
        return BirthdayYear(start.year);
    return "8888";
}
