#include "export/ExportWords.h"

#include "contentlines/Cp1250.h"

namespace {

const char* const kMonthsEn[] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
// Czech in code page 1250, the months after a day: ledna, února, března,
// dubna, května, června, července, srpna, září, října, listopadu, prosince.
const char* const kMonthsCz[] = {"ledna",
                                 "\xFAnora",
                                 "b\xF8"
                                 "ezna",
                                 "dubna",
                                 "kv\xECtna",
                                 "\xE8"
                                 "ervna",
                                 "\xE8"
                                 "ervence",
                                 "srpna",
                                 "z\xE1\xF8\xED",
                                 "\xF8\xEDjna",
                                 "listopadu",
                                 "prosince"};

}  // namespace

std::string CalendarTitle(bool holidays, bool calendar, int uiLanguage)
{
    // [language][holidays + 2 * calendar], without commas, which some
    // calendars show escaped; Czech: "narozeniny a výročí se svátky a
    // kalendářními záznamy".
    static const char* const kTitles[2][4] = {
        {"Tolvari: birthdays and anniversaries", "Tolvari: birthdays and anniversaries with holidays",
         "Tolvari: birthdays and anniversaries with calendar entries",
         "Tolvari: birthdays and anniversaries with holidays and calendar entries"},
        {"Tolvari: narozeniny a v\xFDro\xE8\xED", "Tolvari: narozeniny a v\xFDro\xE8\xED se sv\xE1tky",
         "Tolvari: narozeniny a v\xFDro\xE8\xED s kalend\xE1\xF8n\xEDmi z\xE1znamy",
         "Tolvari: narozeniny a v\xFDro\xE8\xED se sv\xE1tky a kalend\xE1\xF8n\xEDmi z\xE1znamy"}};
    return cp1250::ToUtf8(kTitles[uiLanguage ? 1 : 0][(holidays ? 1 : 0) + (calendar ? 2 : 0)]);
}

std::string KindCategory(EventKind kind, int uiLanguage)
{
    static const char* const kCategories[2][3] = {
        {"Birthdays and anniversaries", "Holidays", "Calendar entries"},
        {"Narozeniny a v\xFDro\xE8\xED", "Sv\xE1tky", "Kalend\xE1\xF8n\xED z\xE1znamy"}};
    return cp1250::ToUtf8(kCategories[uiLanguage ? 1 : 0][static_cast<int>(kind)]);
}

std::string SinceYear(std::string_view year, int uiLanguage)
{
    return (uiLanguage ? "Od roku " : "Since ") + std::string(year);
}

std::string MovesWithEaster(std::string_view country, int uiLanguage)
{
    // Pohyblivý svátek podle Velikonoc: a holiday that moves with Easter.
    return cp1250::ToUtf8(uiLanguage ? "Pohybliv\xFD sv\xE1tek podle Velikonoc" : "Moves with Easter") +
           " (HOLIDAYS=" + std::string(country) + ")";
}

std::string ReminderText(EventKind kind, const std::string& title, int days, int day, int month, int uiLanguage)
{
    const bool czech = uiLanguage != 0, lastOfFebruary = month == 2 && day == 29 && kind == EventKind::Birthday;
    std::string when;
    if (czech) {
        // dnes, zítra, za 2 dny, za 5 dní; (7. prosince), (poslední den února).
        when = days == 0   ? "dnes"
               : days == 1 ? "z\xEDtra"
                           : "za " + std::to_string(days) + (days <= 4 ? " dny" : " dn\xED");
        when += lastOfFebruary ? " (posledn\xED den \xFAnora)"
                               : " (" + std::to_string(day) + ". " + kMonthsCz[(month + 11) % 12] + ")";
    } else {
        when = days == 0 ? "today" : days == 1 ? "tomorrow" : "in " + std::to_string(days) + " days";
        when += lastOfFebruary ? " (the last day of February)"
                               : " (" + std::to_string(day) + " " + kMonthsEn[(month + 11) % 12] + ")";
    }
    const char* what = kind != EventKind::Birthday ? ""
                       : czech                     ? ": narozeniny nebo v\xFDro\xE8\xED"
                                                   : ": birthday or anniversary";
    return title + cp1250::ToUtf8(what + (" " + when));
}
