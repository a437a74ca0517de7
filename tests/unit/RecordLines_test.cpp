// A freshly loaded list shows the record lines of the file until a column is
// changed; these check that the view gives exactly what the reading rules
// and the per-field slots give, before and after the change.
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calendar/DayReport.h"
#include "records/DataFile.h"

namespace {

using Row = std::vector<std::string>;

RecordList Load(const std::string& bytes)
{
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

Row RowAt(const RecordList& list, int i)
{
    return {std::string(list.m_arrDay[i]), std::string(list.m_arrMonth[i]),
            std::string(list.m_arrYear[i]), std::string(list.m_arrName[i])};
}

// The same rows put in one by one, the way the editor and the tests build lists.
RecordList Built(const RecordList& loaded)
{
    RecordList list;
    for (int i = 0; i < loaded.m_nCount; ++i) {
        const Row r = RowAt(loaded, i);
        list.m_arrDay.Add(r[0]);
        list.m_arrMonth.Add(r[1]);
        list.m_arrYear.Add(r[2]);
        list.m_arrName.Add(r[3]);
    }
    list.m_nCount = loaded.m_nCount;
    return list;
}

TEST(RecordLinesTest, FieldsAreThoseOfTheReadingRules)
{
    // Lines in the usual layout and lines that only nearly have it.
    const std::string lines[] = {
        "05.03 1950 Wedding day", "05.03 1950 ", "05.03 1950  two  blanks  ",
        "05.03 195  x", "05.03 19500 x", "5.03 1950 x", "05.3 1950 x", "05 03.1950 x",
        ".5.03 1950 x", "0..03 1950 x", "05. 3 1950 x", "05.03  950 x", "05.03 1950\tx y",
        "[5.03 1950 x", " 5.03 1950 x", "05.03 1950 a.b c", std::string("05.03 1950 a\0b", 14),
        "Name with. a b", ".  ", "05.03 1950 x\ry",
    };
    for (const char* end : {"\r\n", "\n", ""}) {
        for (const std::string& line : lines) {
            RecordFields f;
            const bool accepted = ParseRecordLine(line, f);
            const RecordList list = Load("[***CALENDAR***]\r\n" + line + end);
            ASSERT_EQ(list.m_nCount, accepted ? 1 : 0) << line;
            if (!accepted)
                continue;
            EXPECT_EQ(RowAt(list, 0), (Row{std::string(f.day), std::string(f.month),
                                           std::string(f.year), std::string(f.name)}))
                << line;
        }
    }
}

TEST(RecordLinesTest, ChangingAColumnKeepsTheOthersAndEarlierViews)
{
    RecordList list = Load("01.01 0000 A\r\n02.01 9999 B\r\n3.1 1950 C\r\n04.01 8888 D");
    ASSERT_EQ(list.m_nCount, 4);
    const std::string_view name = list.m_arrName[3];
    const std::string_view day = list.m_arrDay[2];
    const RecordList copy = list;

    list.m_arrName.SetAt(0, "changed");
    list.m_arrDay.RemoveAt(1);
    list.m_arrYear.Add("2000");
    list.m_arrMonth.SetAt(1, list.m_arrMonth[3]);  // a view of the loaded text

    EXPECT_EQ(name, "D");
    EXPECT_EQ(day, "3");
    EXPECT_EQ(list.m_arrName[0], "changed");
    EXPECT_EQ(list.m_arrName[3], "D");
    EXPECT_EQ(list.m_arrDay.GetSize(), 3);
    EXPECT_EQ(list.m_arrDay[1], "3");
    EXPECT_EQ(list.m_arrMonth[1], "01");
    EXPECT_EQ(list.m_arrYear.GetSize(), 5);
    EXPECT_EQ(list.m_arrYear[4], "2000");
    EXPECT_EQ(list.m_arrYear[2], "1950");
    // The copy still shows the file as loaded.
    EXPECT_EQ(RowAt(copy, 0), (Row{"01", "01", "0000", "A"}));
    EXPECT_EQ(RowAt(copy, 1), (Row{"02", "01", "9999", "B"}));
}

TEST(RecordLinesTest, EmptiedColumnsTakeTheNextFileAsAView)
{
    RecordList list = Load("01.01 0000 A\r\n");
    for (CStringArray* column : {&list.m_arrDay, &list.m_arrMonth, &list.m_arrYear, &list.m_arrName})
        column->RemoveAt(0);
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>("02.02 9999 B\r\n"));
    ASSERT_EQ(list.m_nCount, 1);
    EXPECT_EQ(RowAt(list, 0), (Row{"02", "02", "9999", "B"}));
    EXPECT_NE(list.m_arrDay.ShownLines(RecordField::Day), nullptr);
}

// A random file of usual and unusual lines, most on the few days around the
// report's date, so that every kind of record lands in every field.
std::string RandomFile(std::mt19937& rng, int records)
{
    const char* const years[] = {"0000", "9999", "8888", "1950", "2030", "x", "0000"};
    const char* const odd[] = {"5.03 1950 odd", "05.3 0000 odd", "05.03  1950 odd",
                               "05.03\t1950 odd", "x.y z w", "[05.03 0000 no"};
    std::string file = "[***CALENDAR***]\r\n";
    for (int i = 0; i < records; ++i) {
        if (rng() % 10 == 0) {
            file += odd[rng() % 6];
        } else {
            const int day = 1 + static_cast<int>(rng() % 12);
            file += DayKey(day) + ".03 " + years[rng() % 7] + " N" + std::to_string(i);
        }
        file += rng() % 3 ? "\r\n" : "\n";
    }
    return file;
}

TEST(RecordLinesTest, ReportOfALoadedListEqualsThatOfTheSameRowsAdded)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        const RecordList loaded = Load(RandomFile(rng, 60));
        const RecordList built = Built(loaded);
        CurrentDate date;
        date.m_nDay = 1 + static_cast<int>(rng() % 6);
        date.m_nMonth = 3;
        date.m_nYear = 2001;
        date.m_nDOW = WeekdayOf(date.m_nDay, 3, 2001);
        DayReportTexts a, b;
        EXPECT_EQ(BuildDayReport(loaded, date, 0, a), BuildDayReport(built, date, 0, b));
        EXPECT_EQ(a.m_showCalendar, b.m_showCalendar) << round;
        EXPECT_EQ(a.m_showHolidays, b.m_showHolidays) << round;
        EXPECT_EQ(a.m_showBirthdays, b.m_showBirthdays) << round;
        EXPECT_EQ(a.m_showNextDays, b.m_showNextDays) << round;
        EXPECT_EQ(FormatDataFile(loaded, 0), FormatDataFile(built, 0)) << round;
    }
}

}  // namespace
