// How the editor shows a record, with the dialog's controls as one text, and
// what a link does when the shell refuses it. What the editor's actions do is
// fuzzed (tests/fuzz/editrules_fuzz.cpp).
#include "editor/EditRules.h"

#include <malloc.h>

#include <gtest/gtest.h>

#include "FaultSeam.h"
#include "Rows.h"
#include "about/LinkRules.h"

struct FakeEditor : CEditRules {
    explicit FakeEditor(const Rows& rows) : CEditRules(0), list(ListOf(rows))
    {
        m_nCount = list.m_nCount;
        m_pDay = &list.m_arrDay, m_pMonth = &list.m_arrMonth, m_pYear = &list.m_arrYear, m_pName = &list.m_arrName;
        Start();
    }
    // List indices, year ("(year)" when the field is disabled), type, no age, name.
    void ExchangeToControls() override
    {
        const std::string year = std::to_string(m_nEditYear);
        shown = std::to_string(m_nDayIndex) + " " + std::to_string(m_nMonthIndex) + " " +
                (m_bYearEnabled ? year : "(" + year + ")") + (m_nType == 0 ? " Holiday" : " Anniversary") +
                (m_bNoAge ? " no age '" : " '") + m_strEditName + "'";
    }
    void ExchangeFromControls() override {}
    bool ConfirmDelete(const std::string&) override { return true; }

    RecordList list;
    std::string shown;
};

TEST(EditShowing, YearCodesPickTypeAndYearField)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"05", "03", "1950", "Wedding day"}, "4 2 1950 Anniversary 'Wedding day'"},
        {{"24", "12", "9999", "Christmas"}, "23 11 (9999) Holiday 'Christmas'"},
        {{"01", "01", "0000", "New Year"}, "0 0 (0) Holiday 'New Year'"},
        {{"5", "3", "8888", "Eva"}, "4 2 (8888) Anniversary no age 'Eva'"},
        {{"00", "13", "1950", "Odd"}, "-1 12 1950 Anniversary 'Odd'"},
        {{"05", "03", "-2147483648", "Min"}, "4 2 -2147483648 Anniversary 'Min'"},
        {{"", "07", "1950", "no day"}, "0 0 1900 Anniversary ''"},
    };
    for (const auto& [row, shown] : cases)
        EXPECT_EQ(FakeEditor({row}).shown, shown);
}

// A long session on a long name holds one copy of it, whose place each
// change takes again, and storing a text equal to the present one allocates
// nothing (heap in use, glibc). Every allocation of the actions failing in
// turn: only the want of memory comes out (the guard's box, and the end
// without a save), and the records that no action touched stay whole.
TEST(EditMemory, HeldTextsFollowTheLiveEntriesAndAFailedAllocationHarmsNone)
{
    FakeEditor ed({{"05", "03", "1950", std::string(10000, 'n')}});
    const size_t before = mallinfo2().uordblks;
    for (size_t i = 0; i < 20000; ++i)
        ed.m_strEditName[i % 200] ^= 1, ed.OnFieldChange();
    EXPECT_LT(mallinfo2().uordblks, before + 100000);
    const size_t held = mallinfo2().uordblks;
    ed.m_pName->SetAt(0, ed.m_strEditName);
    EXPECT_EQ(mallinfo2().uordblks, held);
    for (long n = 1; n == 1 || faults::Fired(); ++n) {
        FakeEditor two({{"05", "03", "1950", "Anna"}, {"24", "12", "9999", "Eve"}});
        faults::Arm(filesys::FaultCall::Count, n);
        try {
            two.OnNew(), two.m_strEditName = "New", two.OnFieldChange(), two.OnFirst(), two.OnDelete();
        } catch (const std::bad_alloc&) {
        }
        faults::Arm(filesys::FaultCall::Count, 0);
        two.list.m_nCount = two.m_nCount;
        EXPECT_NE(FormatDataFile(two.list, 0).find("24.12 9999 Eve\r\n"), std::string::npos) << n;
    }
}

// A click the shell refuses beeps and leaves the link blue with its target,
// so that the next click tries again; an address shown opens as mail.
TEST(LinkRules, ARefusedClickBeepsAndTheNextTriesAgain)
{
    struct Shell : ILinkShell {
        std::string WindowText() override { return "hi@example.org"; }
        uintptr_t Open(const std::string& target) override { return opened += target + "|", answer; }
        void Beep() override { opened += "beep|"; }
        void Repaint() override { opened += "red|"; }
        uintptr_t answer = 2;  // the file was not found
        std::string opened;
    } shell;
    CLinkRules link(nullptr);
    link.OnClick(shell);
    EXPECT_EQ(link.m_textColor, kLinkUnvisitedColor);
    shell.answer = 42;
    link.OnClick(shell);
    EXPECT_EQ(link.m_textColor, kLinkVisitedColor);
    EXPECT_EQ(shell.opened, "mailto:hi@example.org|beep|mailto:hi@example.org|red|");
}
