#include "calendar/MovableHolidays.h"

#include "calendar/Easter.h"

struct MovableHoliday {
    int offset;  // days from Easter Sunday
    const char* name;
};

struct HolidayCountry {
    char code[3];
    Computus computus;
    MovableHoliday holidays[5];  // in the order shown; unused entries have no name
};

namespace {

// The names in the country's language, code page 1250; the readable text
// beside each row. A letter after a hex escape starts a new literal.
// clang-format off
const HolidayCountry kCountries[] = {
    // Velký pátek, Velikonoční pondělí
    {"CZ", Computus::Western, {{-2, "Velk\xFD p\xE1tek"}, {1, "Velikono\xE8n\xED pond\xECl\xED"}}},
    // Veľký piatok, Veľkonočný pondelok
    {"SK", Computus::Western, {{-2, "Ve\xBEk\xFD piatok"}, {1, "Ve\xBEkono\xE8n\xFD pondelok"}}},
    // Niedziela Wielkanocna, Drugi dzień Wielkanocy, Zielone Świątki, Boże Ciało
    {"PL", Computus::Western, {{0, "Niedziela Wielkanocna"}, {1, "Drugi dzie\xF1 Wielkanocy"},
                               {49, "Zielone \x8Cwi\xB9tki"}, {60, "Bo\xBF" "e Cia\xB3o"}}},
    // Nagypéntek, Húsvétvasárnap, Húsvéthétfő, Pünkösdvasárnap, Pünkösdhétfő
    {"HU", Computus::Western, {{-2, "Nagyp\xE9ntek"}, {0, "H\xFAsv\xE9tvas\xE1rnap"}, {1, "H\xFAsv\xE9th\xE9tf\xF5"},
                               {49, "P\xFCnk\xF6sdvas\xE1rnap"}, {50, "P\xFCnk\xF6sdh\xE9tf\xF5"}}},
    // Velikonočna nedelja, Velikonočni ponedeljek, Binkošti
    {"SI", Computus::Western, {{0, "Velikono\xE8na nedelja"}, {1, "Velikono\xE8ni ponedeljek"}, {49, "Binko\x9Ati"}}},
    {"HR", Computus::Western, {{0, "Uskrs"}, {1, "Uskrsni ponedjeljak"}, {60, "Tijelovo"}}},
    // Vinerea Mare, Paştele, A doua zi de Paşti, Rusaliile, A doua zi de Rusalii (ş with cedilla)
    {"RO", Computus::Orthodox, {{-2, "Vinerea Mare"}, {0, "Pa\xBAtele"}, {1, "A doua zi de Pa\xBAti"},
                                {49, "Rusaliile"}, {50, "A doua zi de Rusalii"}}},
    {"AT", Computus::Western, {{1, "Ostermontag"}, {39, "Christi Himmelfahrt"}, {50, "Pfingstmontag"},
                               {60, "Fronleichnam"}}},
    {"DE", Computus::Western, {{-2, "Karfreitag"}, {1, "Ostermontag"}, {39, "Christi Himmelfahrt"},
                               {50, "Pfingstmontag"}}},
};
// clang-format on

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

const HolidayCountry* FindHolidayCountry(std::string_view value)
{
    const size_t first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return nullptr;
    value = value.substr(first, value.find_last_not_of(" \t") + 1 - first);
    for (const HolidayCountry& country : kCountries) {
        if (value.size() == 2 && Upper(value[0]) == country.code[0] && Upper(value[1]) == country.code[1])
            return &country;
    }
    return nullptr;
}

void MovableHolidaysOn(const HolidayCountry& country, int day, int month, int year, std::vector<const char*>& names)
{
    const int easter = EasterAfterMarch1(year, country.computus);
    if (easter < 0)
        return;
    for (const MovableHoliday& holiday : country.holidays) {
        int d = 0, m = 0;
        if (holiday.name && DateAfterMarch1(easter + holiday.offset, d, m) && d == day && m == month)
            names.push_back(holiday.name);
    }
}

std::vector<MovableHolidayDate> MovableHolidaysOf(const HolidayCountry& country, int year)
{
    std::vector<MovableHolidayDate> dates;
    const int easter = EasterAfterMarch1(year, country.computus);
    for (const MovableHoliday& holiday : country.holidays) {
        int d = 0, m = 0;
        if (easter >= 0 && holiday.name && DateAfterMarch1(easter + holiday.offset, d, m))
            dates.push_back({d, m, holiday.offset, holiday.name});
    }
    return dates;
}

const char* HolidayCountryCode(const HolidayCountry& country)
{
    return country.code;
}

namespace {

// The letters of a title without blanks, ASCII letters in lower case.
std::string Folded(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\t')
            out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

bool SameFeastName(std::string_view listed, std::string_view ours)
{
    const std::string a = Folded(listed), b = Folded(ours);
    return a.size() >= 4 && b.size() >= 4 && (a.find(b) != std::string::npos || b.find(a) != std::string::npos);
}

}  // namespace

std::vector<std::string> CountriesOfFeasts(const std::vector<ListedFeast>& feasts)
{
    std::vector<std::string> best;
    int bestNames = 0, bestShared = 0;
    for (const HolidayCountry& country : kCountries) {
        int names = 0, shared = 0;
        for (const ListedFeast& feast : feasts) {
            for (const MovableHoliday& holiday : country.holidays) {
                if (!holiday.name || holiday.offset != feast.offset || country.computus != feast.computus)
                    continue;
                ++shared;
                names += SameFeastName(feast.name, holiday.name);
                break;
            }
        }
        // A calendar of another country shares distances (Easter Monday) but
        // not the names of its feasts.
        if (names == 0 || names < bestNames || (names == bestNames && shared < bestShared))
            continue;
        if (names > bestNames || shared > bestShared)
            best.clear();
        bestNames = names;
        bestShared = shared;
        best.push_back(country.code);
    }
    return best;
}
