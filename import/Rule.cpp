#include "import/Rule.h"

#include <algorithm>
#include <climits>

#include "contentlines/Escapes.h"
#include "records/Atoi.h"

namespace {

int WeekdayCode(std::string_view code)
{
    static const char* const kCodes[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    for (int k = 0; k < 7; ++k) {
        if (code == kCodes[k])
            return k;
    }
    return -1;
}

std::vector<int> Numbers(const std::string& list)
{
    std::vector<int> numbers;
    for (const std::string& item : SplitText(list, ','))
        numbers.push_back(AtoiSaturating(item));
    return numbers;
}

// "2SU", "-1SU", "+1MO", "SU".
Rule::Day DayOf(const std::string& item)
{
    Rule::Day day;
    day.weekday = WeekdayCode(std::string_view(item).substr(item.size() - 2));
    const std::string n = item.substr(0, item.size() - 2);
    if (!n.empty())
        day.week = n[0] == '-' ? -AtoiSaturating(n.substr(1)) : AtoiSaturating(n.substr(n[0] == '+'));
    return day;
}

void Limit(Rule& rule, int count)
{
    count = std::max(1, std::min(count, 10000));
    rule.count = rule.count ? std::min(rule.count, count) : count;
}

void LimitUntil(Rule& rule, const std::string& value)
{
    Moment until;
    if (!ParseMoment(value, until))
        return;
    if (!rule.hasUntil || until.Wall() < rule.until.Wall())
        rule.until = until;
    rule.hasUntil = true;
}

// vCalendar 1.0: "YM1 3 #0" (every year in March, for ever), "YD1 #5",
// "YM1 20301231T000000"; a number after YD1 is a day of the year.
void ParseV1(Rule& rule)
{
    const std::vector<std::string> words = SplitText(UpperAscii(rule.text), ' ');
    const bool months = words[0].compare(0, 2, "YM") == 0;
    rule.freq = words[0] == "YM1" || words[0] == "YD1" ? Rule::Freq::Yearly : Rule::Freq::Other;
    for (size_t k = 1; k < words.size(); ++k) {
        const std::string& word = words[k];
        if (word.size() > 1 && word[0] == '#' && word != "#0")
            Limit(rule, AtoiSaturating(word.substr(1)));
        else if (Moment until; ParseMoment(word, until))
            LimitUntil(rule, word);
        else if (!word.empty() && word[0] != '#')
            (months ? rule.byMonth : rule.byYearDay).push_back(AtoiSaturating(word));
    }
}

}  // namespace

Rule ParseRule(std::string_view text)
{
    Rule rule;
    rule.text = std::string(text);
    if (text.find('=') == std::string_view::npos) {
        ParseV1(rule);
        return rule;
    }
    for (const std::string& part : SplitText(UpperAscii(text), ';')) {
        const size_t equals = part.find('=');
        const std::string name = part.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : part.substr(equals + 1);
        if (name == "FREQ")
            rule.freq = value == "YEARLY"    ? Rule::Freq::Yearly
                        : value == "MONTHLY" ? Rule::Freq::Monthly
                                             : Rule::Freq::Other;
        else if (name == "INTERVAL")
            rule.interval = AtoiSaturating(value);
        else if (name == "BYMONTH")
            rule.byMonth = Numbers(value);
        else if (name == "BYMONTHDAY")
            rule.byMonthDay = Numbers(value);
        else if (name == "BYYEARDAY")
            rule.byYearDay = Numbers(value);
        else if (name == "COUNT")
            Limit(rule, AtoiSaturating(value));
        else if (name == "UNTIL")
            LimitUntil(rule, value);
        else if (name == "BYDAY") {
            for (const std::string& item : SplitText(value, ',')) {
                if (item.size() >= 2)
                    rule.byDay.push_back(DayOf(item));
            }
            rule.other = rule.other || rule.byDay.empty();
        } else if (name != "WKST")
            rule.other = true;
    }
    return rule;
}

Skip Yearly(const Rule& rule, const Date& start, int& lastYear, std::string& value)
{
    lastYear = INT_MAX;
    if (rule.count)
        lastYear = start.year + rule.count - 1;
    if (rule.hasUntil) {
        const Date& until = rule.until.date;
        lastYear = std::min(lastYear, until.year - (until.month * 100 + until.day < start.month * 100 + start.day));
    }
    // Some exporters write a yearly event as every twelve months.
    const bool monthly = rule.freq == Rule::Freq::Monthly;
    if (rule.freq == Rule::Freq::None || rule.freq == Rule::Freq::Other || rule.interval != (monthly ? 12 : 1)) {
        if (rule.freq != Rule::Freq::Yearly || rule.interval <= 1)
            return Skip::NotYearly;
        value = std::to_string(rule.interval);
        return Skip::EveryYears;
    }
    const auto only = [](const std::vector<int>& list, int n, int alias) {
        return std::all_of(list.begin(), list.end(), [=](int k) { return k == n || k == alias; });
    };
    // The same day written from the month's end (Nextcloud's 29 February:
    // BYMONTH=2;BYMONTHDAY=-1) or as a day of the year where every year has
    // it the same (KDE's 29 February: BYYEARDAY=60).
    static const int kLength[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int fromEnd = start.day == kLength[start.month - 1] ? -1 : start.day;
    const int yearDay =
        start.month <= 2 ? static_cast<int>(DaysOf(2001, start.month, start.day) - DaysOf(2001, 1, 1)) + 1 : 0;
    if (!only(rule.byMonth, start.month, start.month) || !only(rule.byMonthDay, start.day, fromEnd) ||
        !only(rule.byYearDay, 0, yearDay) || !rule.byDay.empty() || rule.other) {
        value = rule.text.substr(0, 80);
        return Skip::OtherDates;
    }
    return Skip::None;
}
