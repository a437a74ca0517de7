// The editing rules driven by fuzzed action sequences on fuzzed lists. After
// every action: the four columns hold m_nCount texts each, the position is
// -1 exactly for an empty list and inside the list otherwise, the position
// text agrees, and an action with no record shown changes no record. What
// the user enters is what the record shows when it is visited again.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "editor/EditRules.h"
#include "records/DataFile.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Stands in for the dialog: the controls are whatever the input says the
// user chose, the delete question is answered from the input too.
class ScriptedEditor : public CEditRules {
public:
    explicit ScriptedEditor(FuzzedDataProvider& in) : CEditRules(in.ConsumeBool() ? 1 : 0), m_in(in) {}

    bool m_bYearHoldsNumber = true;

protected:
    void ExchangeToControls() override { ++m_nShown; }
    void ExchangeFromControls() override
    {
        // The lists give an index or none (-1); the year field a number or
        // nothing, which stops the exchange before type and check box.
        m_nDayIndex = m_in.ConsumeIntegralInRange<int>(-1, 30);
        m_nMonthIndex = m_in.ConsumeIntegralInRange<int>(-1, 11);
        m_strEditName = m_in.ConsumeRandomLengthString(16);
        m_bYearHoldsNumber = m_in.ConsumeIntegral<uint8_t>() < 230;
        if (!m_bYearHoldsNumber)
            return;
        const uint8_t yearKind = m_in.ConsumeIntegral<uint8_t>();
        m_nEditYear = yearKind < 200 ? m_in.ConsumeIntegralInRange<int>(0, 10000) : m_in.ConsumeIntegral<int>();
        m_nType = m_in.ConsumeBool() ? 1 : 0;
        m_bNoAge = m_in.ConsumeBool() ? 1 : 0;
    }
    bool ConfirmDelete(const std::string& text) override
    {
        FUZZ_CHECK(!text.empty());
        return m_in.ConsumeBool();
    }

public:
    int m_nShown = 0;

private:
    FuzzedDataProvider& m_in;
};

Rows RowsOf(const CStringArray& d, const CStringArray& m, const CStringArray& y, const CStringArray& n)
{
    Rows rows;
    for (int i = 0; i < d.GetSize(); ++i)
        rows.push_back({std::string(d[i]), std::string(m[i]), std::string(y[i]), std::string(n[i])});
    return rows;
}

std::string FieldText(FuzzedDataProvider& in, int high)
{
    const uint8_t kind = in.ConsumeIntegral<uint8_t>();
    if (kind < 200)
        return std::to_string(kind % high + 1).insert(0, kind % high < 9 ? "0" : "");
    return in.ConsumeRandomLengthString(8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // The columns as built in memory, or as read from their saved file,
    // which keeps them as views of the file's lines until they change.
    RecordList list;
    const int records = in.ConsumeIntegralInRange<int>(0, 12);
    for (int i = 0; i < records; ++i) {
        list.m_arrDay.Add(FieldText(in, 31));
        list.m_arrMonth.Add(FieldText(in, 12));
        static const char* const kYears[] = {"0000", "9999", "8888", "1950", ""};
        const uint8_t y = in.ConsumeIntegral<uint8_t>();
        list.m_arrYear.Add(y < 200 ? kYears[y % 5] : in.ConsumeRandomLengthString(12));
        list.m_arrName.Add(in.ConsumeRandomLengthString(12));
    }
    list.m_nCount = records;
    if (in.ConsumeBool()) {
        const std::string saved = FormatDataFile(list, 0);
        list = RecordList();
        list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(saved));
    }
    CStringArray& day = list.m_arrDay;
    CStringArray& month = list.m_arrMonth;
    CStringArray& year = list.m_arrYear;
    CStringArray& name = list.m_arrName;

    ScriptedEditor editor(in);
    editor.m_nCount = list.m_nCount;
    editor.m_pDay = &day;
    editor.m_pMonth = &month;
    editor.m_pYear = &year;
    editor.m_pName = &name;
    // The caller's start position may be anything; LoadFile alone gives 0 or 1.
    editor.m_nCurrent = in.ConsumeIntegral<int>();
    editor.Start();

    for (int step = 0; step < 256 && in.remaining_bytes() > 0; ++step) {
        const Rows before = RowsOf(day, month, year, name);
        const int countBefore = editor.m_nCount;
        const int shownBefore = editor.m_nShown;
        const bool hadRecord = editor.m_nCurrent >= 0;
        const int deleted = editor.m_nCurrent;
        const uint8_t action = in.ConsumeIntegral<uint8_t>() % 7;
        switch (action) {
        case 0: editor.OnFirst(); break;
        case 1: editor.OnPrev(); break;
        case 2: editor.OnNext(); break;
        case 3: editor.OnLast(); break;
        case 4: editor.OnNew(); break;
        case 5: editor.OnDelete(); break;
        case 6: editor.OnFieldChange(); break;
        }

        const int n = editor.m_nCount;
        FUZZ_CHECK(n >= 0);
        FUZZ_CHECK(day.GetSize() == n && month.GetSize() == n && year.GetSize() == n &&
                   name.GetSize() == n);
        FUZZ_CHECK((editor.m_nCurrent == -1) == (n == 0));
        FUZZ_CHECK(n == 0 || (editor.m_nCurrent >= 0 && editor.m_nCurrent < n));
        FUZZ_CHECK(editor.m_strPosition ==
                   std::to_string(editor.m_nCurrent + 1) + "/" + std::to_string(n));
        if (action != 5)
            FUZZ_CHECK(editor.m_nShown > shownBefore);
        // Nothing but the record acted on changes: paging changes no record,
        // New adds an empty one at the end, Delete takes out the one shown,
        // a field change rewrites the one shown.
        const Rows after = RowsOf(day, month, year, name);
        if (action <= 3 || (!hadRecord && action != 4))
            FUZZ_CHECK(after == before && n == countBefore);
        if (action == 4) {
            Rows grown = before;
            grown.push_back({"", "", "", ""});
            FUZZ_CHECK(after == grown && n == countBefore + 1 && editor.m_nCurrent == n - 1);
        }
        if (action == 5 && hadRecord && n != countBefore) {
            Rows shrunk = before;
            shrunk.erase(shrunk.begin() + deleted);
            FUZZ_CHECK(after == shrunk && n == countBefore - 1);
        }
        if (action == 5)
            FUZZ_CHECK(n == countBefore || n == countBefore - 1);
        if (action == 6 && hadRecord) {
            for (size_t i = 0; i < after.size(); ++i)
                FUZZ_CHECK(static_cast<int>(i) == editor.m_nCurrent || after[i] == before[i]);
        }

        // A plain anniversary entered in range shows again as entered.
        const int current = editor.m_nCurrent;
        if (action == 6 && hadRecord && editor.m_bYearHoldsNumber && editor.m_nType == 1 &&
            !editor.m_bNoAge && editor.m_nDayIndex >= 0 && editor.m_nMonthIndex >= 0 &&
            editor.m_nEditYear != 0 && editor.m_nEditYear != 8888 && editor.m_nEditYear != 9999) {
            const int dayIndex = editor.m_nDayIndex, monthIndex = editor.m_nMonthIndex;
            const int enteredYear = editor.m_nEditYear;
            const std::string enteredName = editor.m_strEditName;
            editor.ShowRecord(current);
            FUZZ_CHECK(editor.m_nDayIndex == dayIndex && editor.m_nMonthIndex == monthIndex);
            FUZZ_CHECK(editor.m_nEditYear == enteredYear && editor.m_nType == 1 && !editor.m_bNoAge);
            FUZZ_CHECK(editor.m_strEditName == enteredName && editor.m_bYearEnabled);
        }
    }
    return 0;
}
