#include "countries/Countries.h"

#include "countries/CountryTexts.h"
#include "records/Atoi.h"
#include "records/DataFile.h"

namespace {

std::string UpperCode(std::string_view code)
{
    const size_t first = code.find_first_not_of(" \t");
    const size_t last = code.find_last_not_of(" \t");
    std::string upper(first == std::string_view::npos ? std::string_view() : code.substr(first, last - first + 1));
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// The lines of a list file: records, and remarks after "#" that say where
// the list comes from.
void ReadList(std::string_view text, CountryCalendar& calendar)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        RecordFields fields;
        if (line.empty() || line[0] == '#' || !ParseRecordLine(line, fields))
            continue;
        CountryEntry entry{AtoiSaturating(fields.day), AtoiSaturating(fields.month), std::string(fields.year),
                           std::string(fields.name)};
        calendar.nameDays = calendar.nameDays || entry.year == "0000";
        calendar.entries.push_back(std::move(entry));
    }
}

}  // namespace

std::vector<std::string> CountryCodes()
{
    std::vector<std::string> codes;
    for (int i = 0; i < kCountryTextCount; ++i)
        codes.emplace_back(kCountryTexts[i].code);
    return codes;
}

bool FindCountryCalendar(std::string_view code, CountryCalendar& calendar)
{
    const std::string upper = UpperCode(code);
    for (int i = 0; i < kCountryTextCount; ++i) {
        if (upper != kCountryTexts[i].code)
            continue;
        calendar = CountryCalendar();
        calendar.code = upper;
        ReadList(kCountryTexts[i].text, calendar);
        return true;
    }
    return false;
}
