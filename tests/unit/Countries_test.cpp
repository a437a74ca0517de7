#include "countries/Countries.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Rows.h"
#include "contentlines/Cp1250.h"
#include "import/Merge.h"

namespace {

// Every country's list through the data file and back: each entry a record
// of a real date whose name code page 1250 holds whole, one name-day record
// a day, no record twice, and the records read back as they were written.
TEST(Countries, EveryListGoesThroughTheDataFileAndBack)
{
    const std::vector<std::string> codes = {"AT", "CZ", "DE", "HR", "HU", "PL", "RO", "SI", "SK"};
    const std::set<std::string> withNameDays = {"CZ", "HU", "PL", "SK"};
    const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    EXPECT_EQ(CountryCodes(), codes);
    for (const std::string& code : codes) {
        CountryCalendar calendar;
        const std::string asTyped = " " + std::string(1, static_cast<char>(code[0] + 'a' - 'A')) + code[1] + "\t";
        ASSERT_TRUE(FindCountryCalendar(asTyped, calendar)) << code;
        EXPECT_EQ(calendar.code, code);
        EXPECT_EQ(calendar.nameDays, withNameDays.count(code) == 1) << code;
        RecordList list;
        ImportMerge merge(list);
        std::set<int> nameDays;
        int holidays = 0;
        for (const CountryEntry& e : calendar.entries) {
            EXPECT_TRUE(e.month >= 1 && e.month <= 12 && e.day >= 1 && e.day <= kDays[e.month - 1]) << code << e.name;
            EXPECT_EQ(cp1250::ToUtf8(cp1250::FromUtf8(e.name)), e.name) << code;
            if (e.year == "0000")
                EXPECT_TRUE(nameDays.insert(e.month * 100 + e.day).second) << code << " twice on a day: " << e.name;
            else
                EXPECT_EQ(e.year, "9999") << code << e.name;
            holidays += e.year == "9999";
            ImportEntry entry;
            entry.name = e.name, entry.day = e.day, entry.month = e.month, entry.year = e.year;
            merge.Add(entry, code, [](const std::string&, bool) {});
        }
        EXPECT_EQ(merge.Done().added, static_cast<int>(calendar.entries.size())) << code;
        EXPECT_GE(holidays, 5) << code;
        EXPECT_EQ(nameDays.size() >= 360, calendar.nameDays) << code << ' ' << nameDays.size();
        EXPECT_EQ(RowsOf(Parse(FormatDataFile(list, 0))), RowsOf(list)) << code;
    }
    CountryCalendar none;
    EXPECT_FALSE(FindCountryCalendar("XX", none));
    EXPECT_FALSE(FindCountryCalendar("", none));
}

}  // namespace
