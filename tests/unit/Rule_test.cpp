#include "import/Rule.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace {

// A rule's parts in one line: "Y*1 m3 d4 w2SU n5 u2030 ... other".
std::string Parts(const Rule& r)
{
    static const char* const kFreq[] = {"-", "Y", "M", "?"};
    std::string s = std::string(kFreq[static_cast<int>(r.freq)]) + "*" + std::to_string(r.interval);
    for (int m : r.byMonth)
        s += " m" + std::to_string(m);
    for (int d : r.byMonthDay)
        s += " d" + std::to_string(d);
    for (int d : r.byYearDay)
        s += " y" + std::to_string(d);
    for (const Rule::Day& d : r.byDay)
        s += " w" + std::to_string(d.week) + (d.weekday < 0 ? "?" : std::string(1, "SMTWTFS"[d.weekday]));
    if (r.count)
        s += " n" + std::to_string(r.count);
    if (r.hasUntil)
        s += " u" + std::to_string(r.until.date.year);
    return r.other ? s + " other" : s;
}

TEST(ImportRule, ParsedOnceIntoItsParts)
{
    // clang-format off
    const struct { const char *text, *parts; } cases[] = {
        {"FREQ=YEARLY", "Y*1"},
        {"freq=yearly;interval=1;bymonth=1;bymonthday=1", "Y*1 m1 d1"},
        {"FREQ=MONTHLY;INTERVAL=12", "M*12"},
        {"FREQ=YEARLY;BYMONTH=3,10;BYDAY=-1SU;WKST=MO", "Y*1 m3 m10 w-1S"},
        {"FREQ=YEARLY;BYMONTH=11;BYDAY=1SU,+2MO,TH", "Y*1 m11 w1S w2M w0T"},
        {"FREQ=YEARLY;COUNT=3;COUNT=30;UNTIL=20190101T000000Z;UNTIL=20301231;UNTIL=x", "Y*1 n3 u2019"},
        {"FREQ=YEARLY;COUNT=0", "Y*1 n1"},
        {"FREQ=WEEKLY;BYSETPOS=1", "?*1 other"},
        {"FREQ=YEARLY;", "Y*1 other"},
        {"FREQ=YEARLY;BYDAY=X", "Y*1 other"},
        {"YM1 5 #0", "Y*1 m5"},
        {"YD1 #5", "Y*1 n5"},
        {"YM1 20301231T000000", "Y*1 u2030"},
        {"YD1 120 #0", "Y*1 y120"},
        {"YM2 5 #0", "?*1 m5"},
        {"D1 #10", "?*1 n10"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(Parts(ParseRule(c.text)), c.parts) << c.text;
}

TEST(ImportRule, YearlyOnItsDateOrWhyNot)
{
    const Date start{5, 3, 2000};
    // clang-format off
    const struct { const char* text; Skip skip; int lastYear; const char* value; } cases[] = {
        {"FREQ=YEARLY", Skip::None, INT_MAX, ""},
        {"FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=5", Skip::None, INT_MAX, ""},
        {"FREQ=MONTHLY;INTERVAL=12", Skip::None, INT_MAX, ""},
        {"FREQ=YEARLY;COUNT=3", Skip::None, 2002, ""},
        {"FREQ=YEARLY;UNTIL=20100305", Skip::None, 2010, ""},
        {"FREQ=YEARLY;UNTIL=20100304T235959Z", Skip::None, 2009, ""},
        {"YM1 3 #0", Skip::None, INT_MAX, ""},
        {"YD1 #4", Skip::None, 2003, ""},
        {"FREQ=MONTHLY", Skip::NotYearly, INT_MAX, ""},
        {"FREQ=WEEKLY", Skip::NotYearly, INT_MAX, ""},
        {"INTERVAL=1", Skip::NotYearly, INT_MAX, ""},
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
