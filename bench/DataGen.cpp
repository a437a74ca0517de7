#include "bench/DataGen.h"

#include <iterator>
#include <random>

namespace {

const char* const kFirstNames[] = {
    "Ji\xF8\xED",
    "Jan",
    "Petr",
    "Josef",
    "Pavel",
    "Martin",
    "Tom\xE1\x9A",
    "Jaroslav",
    "Miroslav",
    "Zden\xECk",
    "V\xE1"
    "clav",
    "Michal",
    "Franti\x9A"
    "ek",
    "Ond\xF8"
    "ej",
    "Marie",
    "Jana",
    "Eva",
    "Hana",
    "Anna",
    "Lenka",
    "Kate\xF8ina",
    "V\xECra",
    "Lucie",
    "Alena",
    "Petra",
    "Veronika",
    "Jaroslava",
    "\x8A\xE1rka",
    "\x8Eofie",
    "R\xF9\x9E"
    "ena",
};
const char* const kSurnames[] = {
    "Nov\xE1k",
    "Svoboda",
    "Novotn\xFD",
    "Dvo\xF8\xE1k",
    "\xC8"
    "ern\xFD",
    "Proch\xE1zka",
    "Ku\xE8"
    "era",
    "Vesel\xFD",
    "Hor\xE1k",
    "N\xECmec",
    "Pokorn\xFD",
    "Marek",
    "Posp\xED\x9Ail",
    "H\xE1jek",
    "Jel\xEDnek",
    "Kr\xE1l",
    "R\xF9\x9Ei\xE8ka",
    "Bene\x9A",
    "Fiala",
    "Sedl\xE1\xE8"
    "ek",
    "Dole\x9E"
    "al",
    "Zeman",
    "Kol\xE1\xF8",
    "Navr\xE1til",
    "\xC8"
    "erm\xE1k",
    "Urban",
    "Van\xEC"
    "k",
    "Bla\x9E"
    "ek",
    "K\xF8\xED\x9E",
    "Kova\xF8",
};
const char* const kNotes[] = {"",
                              "",
                              "",
                              "",
                              " (soused)",
                              " - narozeniny",
                              " (kolega z pr\xE1"
                              "ce)",
                              " a rodina",
                              " *",
                              " (\x9A"
                              "kola)"};
const char* const kHolidays[] = {"Nov\xFD rok",
                                 "Velikono\xE8n\xED pond\xECl\xED",
                                 "Sv\xE1tek pr\xE1"
                                 "ce",
                                 "Den v\xEDt\xEC"
                                 "zstv\xED",
                                 "Den matek",
                                 "Cyril a Metod\xEC"
                                 "j",
                                 "Mistr Jan Hus",
                                 "\x8At\xEC"
                                 "dr\xFD den",
                                 "New Year's Day",
                                 "Christmas Day"};
const int kMonthLength[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void AppendDate(std::string& out, int day, int month)
{
    const char text[] = {static_cast<char>('0' + day / 10),   static_cast<char>('0' + day % 10),   '.',
                         static_cast<char>('0' + month / 10), static_cast<char>('0' + month % 10), ' '};
    out.append(text, sizeof text);
}

}  // namespace

std::string GenerateDataFile(int records, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string out = "[***CALENDAR***]\r\n";
    out.reserve(static_cast<size_t>(records) * 31 + 64);
    int written = 0;
    for (int month = 1; month <= 12 && written < records; ++month) {
        for (int day = 1; day <= kMonthLength[month - 1] && written < records; ++day, ++written) {
            AppendDate(out, day, month);
            out += "0000 ";
            out += kFirstNames[rng() % std::size(kFirstNames)];
            out += "\r\n";
        }
    }
    if (written < records)
        out += "\r\n[***CUSTOM***]\r\n";
    for (; written < records; ++written) {
        const int month = static_cast<int>(rng() % 12) + 1;
        const int day = static_cast<int>(rng() % static_cast<unsigned>(kMonthLength[month - 1])) + 1;
        AppendDate(out, day, month);
        const unsigned kind = rng() % 100;
        if (kind < 3) {
            out += "9999 ";
            out += kHolidays[rng() % std::size(kHolidays)];
        } else {
            out += kind < 10 ? "8888" : std::to_string(1900 + rng() % 125);
            out += ' ';
            out += kFirstNames[rng() % std::size(kFirstNames)];
            out += ' ';
            out += kSurnames[rng() % std::size(kSurnames)];
            out += kNotes[rng() % std::size(kNotes)];
        }
        out += "\r\n";
    }
    return out;
}
