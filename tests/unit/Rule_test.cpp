#include "import/Rule.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(ImportRule, YearlyOnItsDateOrWhyNot)
{
    const Date start{5, 3, 2000};
    // clang-format off
    const struct { const char* text; Skip skip; int lastYear; const char* value; } cases[] = {
        {"FREQ=YEARLY", Skip::None, INT_MAX, ""},
        {"FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=5", Skip::None, INT_MAX, ""},
        {"FREQ=MONTHLY;INTERVAL=12", Skip::None, INT_MAX, ""},
        {"FREQ=YEARLY;COUNT=3;COUNT=30;UNTIL=20190101T000000Z", Skip::None, 2002, ""},
        {"freq=yearly;interval=1;bymonth=3;bymonthday=5;WKST=MO", Skip::None, INT_MAX, ""},
        {"FREQ=YEARLY;UNTIL=20100305", Skip::None, 2010, ""},
        {"FREQ=YEARLY;UNTIL=20100304T235959Z", Skip::None, 2009, ""},
        {"YM1 3 #0", Skip::None, INT_MAX, ""},
        {"YD1 #4", Skip::None, 2003, ""},
        {"YM1 20301231T000000", Skip::None, 2030, ""},
        {"FREQ=MONTHLY", Skip::NotYearly, INT_MAX, ""},
        {"FREQ=WEEKLY", Skip::NotYearly, INT_MAX, ""},
        {"INTERVAL=1", Skip::NotYearly, INT_MAX, ""},
        {"FREQ=YEARLY;BYDAY=X", Skip::OtherDates, INT_MAX, "FREQ=YEARLY;BYDAY=X"},
        {"FREQ=YEARLY;INTERVAL=0", Skip::NotYearly, INT_MAX, ""},
        {"YM2 3", Skip::NotYearly, INT_MAX, ""},
        {"FREQ=YEARLY;INTERVAL=4", Skip::EveryYears, INT_MAX, "4"},
        {"FREQ=YEARLY;BYMONTH=4", Skip::OtherDates, INT_MAX, "FREQ=YEARLY;BYMONTH=4"},
        {"FREQ=YEARLY;BYMONTH=3,4", Skip::OtherDates, INT_MAX, "FREQ=YEARLY;BYMONTH=3,4"},
        {"FREQ=YEARLY;BYMONTHDAY=6", Skip::OtherDates, INT_MAX, "FREQ=YEARLY;BYMONTHDAY=6"},
        {"FREQ=YEARLY;BYMONTH=3;BYDAY=1SU", Skip::OtherDates, INT_MAX, "FREQ=YEARLY;BYMONTH=3;BYDAY=1SU"},
        {"YM1 4 #0", Skip::OtherDates, INT_MAX, "YM1 4 #0"},
        {"YD1 64", Skip::OtherDates, INT_MAX, "YD1 64"},
    };
    // clang-format on
    for (const auto& c : cases) {
        int lastYear = 0;
        std::string value;
        EXPECT_EQ(Yearly(ParseRule(c.text), start, lastYear, value), c.skip) << c.text;
        if (c.skip == Skip::None) {
            EXPECT_EQ(lastYear, c.lastYear) << c.text;
        }
        EXPECT_EQ(value, c.value) << c.text;
    }
    // The month's last day is always the start's day only where no month is longer.
    for (const auto& [begin, skip] :
         {std::pair{Date{29, 2, 1988}, Skip::None}, {Date{28, 2, 2023}, Skip::OtherDates}}) {
        int lastYear = 0;
        std::string value;
        EXPECT_EQ(Yearly(ParseRule("FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"), begin, lastYear, value), skip);
    }
}

}  // namespace
