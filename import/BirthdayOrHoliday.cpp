#include "import/BirthdayOrHoliday.h"

#include <initializer_list>
#include <string_view>

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
                          "geburtstag", "ro\xF0" "endan", "zi de na", "ziua de na",
                          "anniversar", "aniversar", "v\xFDro\xE8", "rocznic", "\xE9vfordul", "obletnic",
                          "godi\x9Anjic", "jahrestag", "hochzeitstag", "jubil\xE4um"});
}

bool SaysHoliday(const std::string& utf8)
{
    // Singular and plural stems: Svátek/svátky, Sviatok/sviatky (the
    // category of Thunderbird's Slovak holidays), Święto/święta, ...
    return HasWord(utf8, {"holiday", "feiertag", "festtag", "sv\xE1tk", "sv\xE1te", "sviatk", "sviato",
                          "\x9Cwi\xEAt", "swiet", "\xFCnnep", "praznik", "blagdan", "s\xE3rb\xE3tor", "festiv"});
}
// clang-format on

bool IsBirthday(const Event& event, const CalendarKind& calendar)
{
    if (calendar.holidays || event.category < 0)
        return false;
    std::string person;
    int year = 0;
    return event.category > 0 || calendar.birthdays || event.special || event.startIsBirth || event.givenYear ||
           SaysBirthday(event.summary) || PersonOfTitle(event.summary, person, year);
}

std::string YearOf(const Event& event, const Date& start, bool birthday, const Date& today)
{
    if (!birthday)
        return "9999";
    if (event.givenYear)
        return BirthdayYear(Date{start.day, start.month, event.givenYear}, today);
    Moment created;
    if (event.startIsBirth ||
        (ParseMoment(event.created, created) &&
         DaysOf(start.year + 1, start.month, start.month == 2 && start.day == 29 ? 28 : start.day) <
             DaysOf(created.date.year, created.date.month, created.date.day)))
        return BirthdayYear(start, today);
    return "8888";
}

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The titles of birthday calendars, "%" for the name (UTF-8): KDE's
// birthdays resource (kdepim-runtime, resources/birthdays, and its
// translations), Evolution's contacts calendar (evolution-data-server,
// e-cal-backend-contacts.c), Nextcloud's contact birthdays (server,
// apps/dav/lib/CalDAV/BirthdayService.php: "🎂 %", "💍 %", "% *", "% ⚭"),
// and the like in the languages of code page 1250 and German.
struct TitleForm {
    const char* form;
    bool anniversary;
};
// clang-format off
const TitleForm kTitleForms[] = {
    {"%'s birthday", false}, {"%\xE2\x80\x99s birthday", false}, {"Birthday: %", false}, {"Birthday of %", false},
    {"\xF0\x9F\x8E\x82 %", false}, {"% *", false},
    {"% (Geburtstag)", false}, {"Geburtstag von %", false}, {"Geburtstag: %", false},
    // Narozeniny '%', Narozeniny: %, Narodeniny: %, % narodeniny, Urodziny: %, Urodziny %
    {"Narozeniny '%'", false}, {"Narozeniny: %", false}, {"Narodeniny: %", false}, {"% narodeniny", false},
    {"Urodziny: %", false}, {"Urodziny %", false},
    // % születésnapja, Születésnap: %, % ima rojstni dan, Rojstni dan: %, Rođendan: %
    {"% sz\xC3\xBC" "let\xC3\xA9snapja", false}, {"Sz\xC3\xBC" "let\xC3\xA9snap: %", false},
    {"% ima rojstni dan", false}, {"Rojstni dan: %", false}, {"Ro\xC4\x91" "endan: %", false},
    // Ziua de naștere a lui % (ș with comma and with cedilla)
    {"Ziua de na\xC8\x99tere a lui %", false}, {"Ziua de na\xC5\x9Ftere a lui %", false},
    {"%'s anniversary", true}, {"%\xE2\x80\x99s anniversary", true}, {"Anniversary: %", true},
    {"\xF0\x9F\x92\x8D %", true}, {"% \xE2\x9A\xAD", true}, {"% (Jahrestag)", true}, {"Jahrestag: %", true},
    // Výročí osoby '%', Výročí: %, Rocznica %, % évfordulója, % výročie, % ima obletnico, Aniversare %
    {"V\xC3\xBDro\xC4\x8D\xC3\xAD osoby '%'", true}, {"V\xC3\xBDro\xC4\x8D\xC3\xAD: %", true},
    {"Rocznica %", true}, {"% \xC3\xA9vfordul\xC3\xB3ja", true}, {"% v\xC3\xBDro\xC4\x8Die", true},
    {"% ima obletnico", true}, {"Aniversare %", true},
};
// clang-format on

}  // namespace

bool PersonOfTitle(const std::string& title, std::string& person, int& year)
{
    std::string_view text = Trimmed(title);
    year = 0;
    bool anniversary = false;
    // Nextcloud puts the year after the name: " (1985)", " (*1985)", " (⚭1985)".
    const size_t open = text.rfind(" (");
    bool marked = false;  // "*" or "⚭" before the year: the title is the name
    if (open != std::string_view::npos && text.back() == ')') {
        std::string_view inside = text.substr(open + 2, text.size() - open - 3);
        const bool star = inside.substr(0, 1) == "*", ring = inside.substr(0, 3) == "\xE2\x9A\xAD";
        inside.remove_prefix(star ? 1 : ring ? 3 : 0);
        if (inside.size() == 4 && inside.find_first_not_of("0123456789") == std::string_view::npos) {
            year = std::stoi(std::string(inside));
            text = Trimmed(text.substr(0, open));
            marked = star || ring;
            anniversary = ring;
        }
    }
    std::string_view name;
    for (const TitleForm& form : kTitleForms) {
        const std::string_view f = form.form;
        const size_t at = f.find('%');
        const std::string_view before = f.substr(0, at), after = f.substr(at + 1);
        if (text.size() <= before.size() + after.size() || !SameLetters(text.substr(0, before.size()), before) ||
            !SameLetters(text.substr(text.size() - after.size()), after))
            continue;
        name = Trimmed(text.substr(before.size(), text.size() - before.size() - after.size()));
        if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front())
            name = Trimmed(name.substr(1, name.size() - 2));
        if (!name.empty()) {
            anniversary = anniversary || form.anniversary;
            break;
        }
    }
    if (name.empty() && marked)
        name = text;  // Nextcloud's "Anna (*1985)"
    if (name.empty()) {
        year = 0;
        return false;
    }
    person = std::string(name) + (anniversary ? kAnniversarySuffix : "");
    return true;
}
