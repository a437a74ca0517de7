#include <gtest/gtest.h>

#include "Entries.h"
#include "Rows.h"
#include "import/Merge.h"

namespace {

TEST(ImportMerge, AddsEachRecordOnceAndReportsIt)
{
    RecordList list = ListOf({{"05", "03", "1950", "Grandpa"}, {"19", "03", "0000", "Josef"}});
    const auto entry = [](int day, int month, const char* year, const char* name, Skip skip = Skip::None,
                          bool oneOff = false) {
        return ImportEntry{name, day, month, year, skip, "", "", oneOff, 7, {}};
    };
    Lines printed;
    ImportMerge merge(list);
    merge.Add({entry(5, 3, "1950", "Grandpa"), entry(5, 3, "8888", "Grandpa"), entry(1, 2, "8888", "", Skip::NoName),
               entry(7, 11, "1990", " Ji\xC5\x99\xC3\xAD\n\xE6\x97\xA5 "), entry(19, 3, "0000", "Josef"),
               entry(19, 3, "8888", "Josef"), entry(1, 1, "9999", "Dentist", Skip::OneOff, true)},
              "a.vcf", [&](const std::string& line, bool) { printed.push_back(line); });
    // Grandpa without his year is the Grandpa there; Josef's name day is no birthday.
    EXPECT_EQ(RowsOf(list), (Rows{{"05", "03", "1950", "Grandpa"},
                                  {"19", "03", "0000", "Josef"},
                                  {"07", "11", "1990", "Ji\xF8\xED ?"},
                                  {"19", "03", "8888", "Josef"}}));
    EXPECT_EQ(printed, (Lines{"skipped in a.vcf:7: a card without a name (FN or N)", "07.11 1990 Ji\xC5\x99\xC3\xAD ?",
                              "  (a character that code page 1250 cannot hold became \"?\")", "19.03 8888 Josef"}));
    const ImportMerge::Counts counts = merge.Done();
    EXPECT_EQ((std::vector<int>{counts.added, counts.already, counts.skipped, counts.oneOff}),
              (std::vector<int>{2, 3, 1, 1}));
}

}  // namespace
