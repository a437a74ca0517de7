// The editing rules, with the dialog's controls as plain members. What every
// action keeps true is fuzzed (tests/fuzz/editrules_fuzz.cpp).
#include "editor/EditRules.h"

#include <gtest/gtest.h>

#include "Rows.h"

class FakeEditor : public CEditRules {
public:
    explicit FakeEditor(const Rows& rows) : CEditRules(0), list(ListOf(rows))
    {
        m_nCount = list.m_nCount;
        m_pDay = &list.m_arrDay, m_pMonth = &list.m_arrMonth, m_pYear = &list.m_arrYear, m_pName = &list.m_arrName;
        Start();
    }
    // The user changes controls; the notification reads them back.
    void Change(void (*edit)(FakeEditor&)) { m_edit = edit, OnFieldChange(); }

    RecordList list;
    std::string shown;  // list indices, year, "(year)" when disabled, type, no age, name
    void (*m_edit)(FakeEditor&) = nullptr;

protected:
    void ExchangeToControls() override
    {
        const std::string year = std::to_string(m_nEditYear);
        shown = std::to_string(m_nDayIndex) + " " + std::to_string(m_nMonthIndex) + " " +
                (m_bYearEnabled ? year : "(" + year + ")") + (m_nType == 0 ? " Holiday" : " Anniversary") +
                (m_bNoAge ? " no age '" : " '") + m_strEditName + "'";
    }
    void ExchangeFromControls() override { m_edit(*this); }
    bool ConfirmDelete(const std::string& text) override { return text == "Do you really want to delete this anniversary?"; }
};

TEST(EditShowing, YearCodesPickTypeAndYearField)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"05", "03", "1950", "Wedding day"}, "4 2 1950 Anniversary 'Wedding day'"},
        {{"24", "12", "9999", "Christmas"}, "23 11 (9999) Holiday 'Christmas'"},
        {{"01", "01", "0000", "New Year"}, "0 0 (0) Holiday 'New Year'"},
        {{"5", "3", "8888", "Eva"}, "4 2 (8888) Anniversary no age 'Eva'"},
        {{"00", "13", "1950", "Odd"}, "-1 12 1950 Anniversary 'Odd'"},
        {{"", "07", "1950", "no day"}, "0 0 1900 Anniversary ''"},
    };
    for (const auto& [row, shown] : cases)
        EXPECT_EQ(FakeEditor({row}).shown, shown);
}

// A change writes day, month, year and name of the record shown at once.
TEST(EditFieldChange, StoresEveryFieldTheYearByTypeAndNoAge)
{
    FakeEditor ed({{"24", "12", "9999", "Christmas"}, {"05", "03", "1950", "W"}});
    ed.OnNext();
    const std::pair<void (*)(FakeEditor&), std::vector<std::string>> steps[] = {
        {[](FakeEditor& e) { e.m_nDayIndex = 8, e.m_nMonthIndex = 11, e.m_strEditName = "Nov\xFD"; },
         {"09", "12", "1950", "Nov\xFD"}},
        {[](FakeEditor& e) { e.m_nEditYear = 1975; }, {"09", "12", "1975", "Nov\xFD"}},
        {[](FakeEditor& e) { e.m_bNoAge = 1; }, {"09", "12", "8888", "Nov\xFD"}},
        {[](FakeEditor& e) { e.m_bNoAge = 0; }, {"09", "12", "1900", "Nov\xFD"}},
        {[](FakeEditor& e) { e.m_nType = 0; }, {"09", "12", "9999", "Nov\xFD"}},
    };
    for (const auto& [change, saved] : steps) {
        ed.Change(change);
        EXPECT_EQ(RowsOf(ed.list), (Rows{{"24", "12", "9999", "Christmas"}, saved}));
    }
    ed.OnNew();
    EXPECT_EQ(ed.shown, "0 0 1900 Anniversary ''");
    ed.OnDelete();
    EXPECT_EQ(ed.m_nCount, 2);
}
