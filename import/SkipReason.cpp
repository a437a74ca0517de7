#include "import/SkipReason.h"

std::string Worded(Skip why, const std::string& property, const std::string& value)
{
    switch (why) {
    case Skip::None:
        return std::string();
    case Skip::NoName:
        return "a card without a name (FN or N)";
    case Skip::DateText:
        return property + " is text, not a date: " + value;
    case Skip::NotADate:
        return property + " is not a date of day and month: " + value;
    case Skip::NotRead:
        return property + " is a date this program does not take (" + value + ")";
    case Skip::Death:
        return property + " is a date of death";
    case Skip::Unended:
        return "a card without END:VCARD (the file may be cut short)";
    case Skip::NoStart:
        return "an event without a start date";
    case Skip::StartNotDate:
        return "DTSTART is not a date: " + value;
    case Skip::Cancelled:
        return "cancelled";
    case Skip::OneOff:
        return "does not repeat";
    case Skip::NotYearly:
        return "does not repeat every year";
    case Skip::OtherDates:
        return "does not repeat on the same date every year (RRULE:" + value + ")";
    case Skip::EveryYears:
        return "repeats every " + value + " years";
    case Skip::Ended:
        return "the series ended in " + value;
    case Skip::NoSummary:
        return "an event without a SUMMARY";
    case Skip::Moves:
        return "falls on other dates in other years";
    case Skip::TwoYears:
        return "listed in " + value + " only: too few years to tell that it repeats every year";
    case Skip::MovesWithEaster:
        return "a feast that moves with Easter (" + value + " in every year listed)";
    case Skip::Easter:
        return "moves with Easter: HOLIDAYS=" + value;
    }
    return std::string();
}
