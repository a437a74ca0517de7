// A freshly loaded list shows the record lines of the file until a column is
// changed, and the day report reads day and month straight from those lines;
// it must give what the same rows put in one by one give.
#include <memory>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "calendar/DayReport.h"
#include "records/DataFile.h"

namespace {

RecordList Load(const std::string& bytes)
{
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

TEST(RecordLinesTest, EmptiedColumnsTakeTheNextFileAsAView)
{
    RecordList list = Load("01.01 0000 A\r\n");
    for (CStringArray* column : {&list.m_arrDay, &list.m_arrMonth, &list.m_arrYear, &list.m_arrName})
        column->RemoveAt(0);
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>("02.02 9999 B\r\n"));
    ASSERT_EQ(list.m_nCount, 1);
    EXPECT_EQ(list.m_arrName[0], "B");
    EXPECT_EQ(list.m_arrYear[0], "9999");
    EXPECT_NE(list.m_arrDay.ShownLines(RecordField::Day), nullptr);
}

TEST(RecordLinesTest, ReportOfALoadedListEqualsThatOfTheSameRowsAdded)
{
    // Usual and unusual lines, most on the days around the report's date, so
    // that every kind of record lands in every field.
    const char* const years[] = {"0000", "9999", "8888", "1950", "2030", "x", "0000"};
    const char* const odd[] = {"5.03 1950 odd", "05.3 0000 odd", "05.03  1950 odd",
                               "05.03\t1950 odd", "x.y z w", "[05.03 0000 no"};
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        std::string file = "[***CALENDAR***]\r\n";
        for (int i = 0; i < 60; ++i) {
            file += rng() % 10 == 0 ? std::string(odd[rng() % 6])
                                    : DayKey(1 + static_cast<int>(rng() % 12)) + ".03 " + years[rng() % 7] +
                                          " N" + std::to_string(i);
            file += rng() % 3 ? "\r\n" : "\n";
        }
        const RecordList loaded = Load(file);
        RecordList built;
        for (int i = 0; i < loaded.m_nCount; ++i) {
            built.m_arrDay.Add(std::string(loaded.m_arrDay[i]));
            built.m_arrMonth.Add(std::string(loaded.m_arrMonth[i]));
            built.m_arrYear.Add(std::string(loaded.m_arrYear[i]));
            built.m_arrName.Add(std::string(loaded.m_arrName[i]));
        }
        built.m_nCount = loaded.m_nCount;
        CurrentDate date;
        date.m_nDay = 1 + static_cast<int>(rng() % 6), date.m_nMonth = 3, date.m_nYear = 2001;
        date.m_nDOW = WeekdayOf(date.m_nDay, 3, 2001);
        DayReportTexts a, b;
        EXPECT_EQ(BuildDayReport(loaded, date, 0, a), BuildDayReport(built, date, 0, b));
        EXPECT_EQ(a.m_showCalendar + "|" + a.m_showHolidays + "|" + a.m_showBirthdays + "|" + a.m_showNextDays,
                  b.m_showCalendar + "|" + b.m_showHolidays + "|" + b.m_showBirthdays + "|" + b.m_showNextDays)
            << round;
        EXPECT_EQ(FormatDataFile(loaded, 0), FormatDataFile(built, 0)) << round;
    }
}

}  // namespace
