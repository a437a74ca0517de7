// The data file: the reading rules on both ways of loading and the exact
// bytes written. Any bytes are fuzzed (tests/fuzz/datafile_fuzz.cpp).
#include "records/DataFile.h"

#include <gtest/gtest.h>

#include "Rows.h"

using namespace std::string_literals;

// Each line read as a file, whose columns then show its lines, and appended
// to a list that has records, where each field becomes a slice.
TEST(DataFileReading, LineRules)
{
    const std::pair<std::string, Rows> cases[] = {  // the line and its record, if any
        {"05.03 1950 Wedding  day ", {{"05", "03", "1950", "Wedding  day "}}},
        {"", {}}, {"no dot", {}}, {"[05.03 1950 x", {}}, {"05.03", {}}, {"05.03 1950", {}},
        {"5.3 1950 x", {{"5", "3", "1950", "x"}}}, {" 05.03 1950 x", {{" 05", "03", "1950", "x"}}},
        {"05.03 195  x", {{"05", "03", "195", " x"}}}, {"a b.c d e.f", {{"a b", "c", "d", "e.f"}}},
        {".  ", {{"", "", "", ""}}}, {"05.03\t1950 x y", {{"05", "03\t1950", "x", "y"}}},
        {"05.03 1950 x\ry\x1A", {{"05", "03", "1950", "x\ry\x1A"}}},
        {"0\0005.03 1950 a\0b"s, {{"0\0005"s, "03", "1950", "a\0b"s}}},
    };
    const RecordList one = Parse("01.01 0000 A\r\n");
    for (const auto& [line, fields] : cases) {
        for (const char* end : {"\r\n", "\n", ""}) {
            EXPECT_EQ(RowsOf(Parse(line + end)), fields) << line;
            Rows appended = fields;
            appended.insert(appended.begin(), {"01", "01", "0000", "A"});
            EXPECT_EQ(RowsOf(Parse(line + end, one)), appended) << line;
        }
    }
    // Only a CR right before the LF belongs to the line end.
    EXPECT_EQ(RowsOf(Parse("[***CALENDAR***]\r\n01.01 0000 A\r\r\n\r\n")), (Rows{{"01", "01", "0000", "A\r"}}));
}

TEST(DataFileWriting, ExactBytes)
{
    const std::pair<Rows, std::string> cases[] = {
        {{}, "[***CALENDAR***]\r\n"},
        {{{"01", "01", "0000", "A"}, {"05", "03", "1950", "W d"}, {"02", "01", "0000", "late"}},
         "[***CALENDAR***]\r\n01.01 0000 A\r\n\r\n[***CUSTOM***]\r\n05.03 1950 W d\r\n02.01 0000 late\r\n"},
        {{{"%s", "%n", "8888", "\x8E\0x"s}}, "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n%s.%n 8888 \x8E\0x\r\n"s},
    };
    for (const auto& [rows, bytes] : cases)
        EXPECT_EQ(FormatDataFile(ListOf(rows), 0), bytes);
}
