// The editing rules under fuzzed sequences of actions on fuzzed lists. After
// each: the columns hold m_nCount texts, the position is -1 exactly for an
// empty list and inside it otherwise, and only the record acted on changed,
// the way the action says.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "calendar/DayReport.h"
#include "editor/EditRules.h"
#include "tests/unit/Rows.h"

// The controls and the answer to the delete question come from the input.
class ScriptedEditor : public CEditRules {
public:
    explicit ScriptedEditor(FuzzedDataProvider& in) : CEditRules(0), m_in(in) {}
    bool m_answer = false;
    int m_enteredYear = 0, m_noAgeBefore = 0;

protected:
    void ExchangeToControls() override {}
    void ExchangeFromControls() override
    {
        m_nDayIndex = m_in.ConsumeIntegralInRange(-1, 30);
        m_nMonthIndex = m_in.ConsumeIntegralInRange(-1, 11);
        m_strEditName = m_in.ConsumeRandomLengthString(8);
        m_noAgeBefore = m_bNoAge;
        // An empty year field stops the exchange before type and check box.
        if (m_in.ConsumeBool())
            m_nEditYear = m_in.ConsumeIntegral<int>(), m_nType = m_in.ConsumeBool(), m_bNoAge = m_in.ConsumeBool();
        m_enteredYear = m_nEditYear;
    }
    bool ConfirmDelete(const std::string&) override { return m_answer = m_in.ConsumeBool(); }

private:
    FuzzedDataProvider& m_in;
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    Rows rows(in.ConsumeIntegralInRange(0, 8));
    for (auto& r : rows)
        r = {in.ConsumeRandomLengthString(3), in.ConsumeRandomLengthString(3), in.ConsumeBool() ? "8888" : "1950", "n"};
    // Built in memory, or read from the saved file and so views of its lines.
    RecordList list = in.ConsumeBool() ? ListOf(rows) : Parse(FormatDataFile(ListOf(rows), 0));
    ScriptedEditor ed(in);
    ed.m_nCount = list.m_nCount;
    ed.m_pDay = &list.m_arrDay, ed.m_pMonth = &list.m_arrMonth;
    ed.m_pYear = &list.m_arrYear, ed.m_pName = &list.m_arrName;
    ed.m_nCurrent = in.ConsumeIntegral<int>();
    ed.Start();
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        list.m_nCount = ed.m_nCount;
        const Rows before = RowsOf(list);
        const int shown = ed.m_nCurrent, action = in.ConsumeIntegralInRange(0, 6);
        ed.m_answer = false;
        void (CEditRules::*const actions[])() = {&CEditRules::OnFirst,      &CEditRules::OnPrev, &CEditRules::OnNext,
                                                 &CEditRules::OnLast,       &CEditRules::OnNew,  &CEditRules::OnDelete,
                                                 &CEditRules::OnFieldChange};
        (ed.*actions[action])();
        const int n = list.m_nCount = ed.m_nCount;
        FUZZ_CHECK(list.m_arrDay.GetSize() == n && list.m_arrMonth.GetSize() == n && list.m_arrYear.GetSize() == n &&
                   list.m_arrName.GetSize() == n);
        FUZZ_CHECK(n == 0 ? ed.m_nCurrent == -1 : ed.m_nCurrent >= 0 && ed.m_nCurrent < n);
        FUZZ_CHECK(ed.m_strPosition == std::to_string(ed.m_nCurrent + 1) + "/" + std::to_string(n));
        Rows expected = before;
        if (action == 4)
            expected.push_back({"", "", "", ""});
        if (action == 5 && ed.m_answer)
            expected.erase(expected.begin() + shown);
        if (action == 6 && shown >= 0)
            expected[shown] = RowsOf(list)[shown];
        FUZZ_CHECK(RowsOf(list) == expected);
        if (action == 4)  // a new record shows the defaults, nothing of the record before
            FUZZ_CHECK(ed.m_nDayIndex == 0 && ed.m_nMonthIndex == 0 && ed.m_nEditYear == 1900 &&
                       ed.m_strEditName.empty() && ed.m_nType == 1 && !ed.m_bNoAge);
        // What the user entered is what the record holds; a holiday has no
        // year, no age is "8888", and clearing it starts again from 1900.
        if (action == 6 && shown >= 0) {
            const std::vector<std::string>& r = expected[shown];
            FUZZ_CHECK(r[0] == DayKey(ed.m_nDayIndex + 1) && r[1] == DayKey(ed.m_nMonthIndex + 1) &&
                       r[3] == ed.m_strEditName);
            FUZZ_CHECK(r[2] == (ed.m_nType == 0    ? "9999"
                                : ed.m_bNoAge      ? "8888"
                                : ed.m_noAgeBefore ? "1900"
                                                   : std::to_string(ed.m_enteredYear)));
            FUZZ_CHECK(ed.m_bYearEnabled == (ed.m_nType != 0 && !ed.m_bNoAge));
        }
    }
    return 0;
}
