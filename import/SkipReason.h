// Why an entry of a contacts or calendar file cannot be a record: a value the
// readers decide on and the merge counts, put into words only when shown.
#pragma once

#include <string>

enum class Skip {
    None,
    // vCard
    NoName,    // a card without FN or N
    DateText,  // property: VALUE=text
    NotADate,  // property: not a date of day and month
    Unended,   // a card without END:VCARD
    NotRead,   // property: a date of a kind not taken; value: the date
    Death,     // property: a date of death
    // iCalendar
    NoStart,       // an event without DTSTART
    StartNotDate,  // DTSTART not a date
    Cancelled,
    OneOff,      // no rule: does not repeat
    NotYearly,   // a rule, not yearly
    OtherDates,  // yearly on another date each year; value: the rule
    EveryYears,  // value: the interval in years
    Ended,       // value: the year of the last date
    NoSummary,
    Moves,            // dates listed that fall on other days
    TwoYears,         // the same day listed in two years only; value: the years
    MovesWithEaster,  // a feast that moves with Easter; value: how far from it, and which Easter
    // Tolvari's own export
    Easter,  // a holiday that moves with Easter; value: the country
};

// The reason in words; property and value as the reason names them.
std::string Worded(Skip why, const std::string& property, const std::string& value);
