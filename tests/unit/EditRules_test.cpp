#include "editor/EditRules.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

namespace {

// What the dialog's controls hold; year is empty when the field holds no number.
struct Controls {
    int day = 0, month = 0;
    std::string name;
    std::optional<int> year;
    int type = -1, noAge = 0;
    bool yearEnabled = true;
    std::string position;
    auto Tie() const { return std::tie(day, month, name, year, type, noAge, yearEnabled, position); }
};

using Rec = std::array<const char*, 4>;  // day, month, year, name

class FakeEditor : public CEditRules {
public:
    explicit FakeEditor(std::vector<Rec> recs = {}, int start = 0, int lang = 0) : CEditRules(lang)
    {
        for (const Rec& r : recs)
            for (int c = 0; c < 4; ++c)
                cols[c]->Add(r[c]);
        m_nCount = static_cast<int>(recs.size());
        m_nCurrent = start;
        m_pDay = cols[0], m_pMonth = cols[1], m_pYear = cols[2], m_pName = cols[3];
        Start();
    }
    // Records as the data file writes them.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.m_arrDay.GetSize(); ++i)
            out.push_back(std::string(cols[0]->GetAt(i)) + "." + std::string(cols[1]->GetAt(i)) + " " +
                          std::string(cols[2]->GetAt(i)) + " " + std::string(cols[3]->GetAt(i)));
        return out;
    }
    // The user changes one control, given as a change to what is shown.
    template <class F> void Change(F edit)
    {
        edit(ui);
        OnFieldChange();
    }

    RecordList list;
    CStringArray* const cols[4] = {&list.m_arrDay, &list.m_arrMonth, &list.m_arrYear, &list.m_arrName};
    Controls ui;
    int shown = 0;
    bool answer = true;
    std::vector<std::string> questions;

protected:
    void ExchangeToControls() override
    {
        ui = {m_nDayIndex, m_nMonthIndex, m_strEditName, m_nEditYear, m_nType, m_bNoAge, m_bYearEnabled, m_strPosition};
        ++shown;
    }
    void ExchangeFromControls() override
    {
        m_nDayIndex = ui.day, m_nMonthIndex = ui.month, m_strEditName = ui.name;
        if (!ui.year)
            return;  // the exchange stops at the bad field
        m_nEditYear = *ui.year, m_nType = ui.type, m_bNoAge = ui.noAge;
    }
    bool ConfirmDelete(const std::string& text) override
    {
        questions.push_back(text);
        return answer;
    }
};

using Lines = std::vector<std::string>;
const Controls kDefaults{0, 0, "", 1900, 1, 0, true, "1/1"};

TEST(EditShowing, YearCodesAndOddTextsPickTypeAndYearField)
{
    const std::pair<Rec, Controls> cases[] = {
        {{"05", "03", "1950", "Wedding day"}, {4, 2, "Wedding day", 1950, 1, 0, true, "1/1"}},
        {{"24", "12", "9999", "Christmas"}, {23, 11, "Christmas", 9999, 0, 0, false, "1/1"}},
        {{"01", "01", "0000", "New Year"}, {0, 0, "New Year", 0, 0, 0, false, "1/1"}},
        {{"5", "3", "8888", "Eva"}, {4, 2, "Eva", 8888, 1, 1, false, "1/1"}},
        {{" 7x", "0", "", ""}, {6, -1, "", 0, 0, 0, false, "1/1"}},
        {{"", "07", "1950", "day missing"}, kDefaults},
        // Huge and negative numbers saturate instead of overflowing.
        {{"99999999999", "-99999999999", "-0", "x"}, {INT_MAX - 1, INT_MIN, "x", 0, 0, 0, false, "1/1"}},
    };
    for (const auto& [rec, want] : cases)
        EXPECT_EQ(FakeEditor({rec}).ui.Tie(), want.Tie()) << rec[0];

    FakeEditor ed({{"5", "3", "8888", "Eva"}, {"06", "04", "1970", "Jan"}});
    ed.OnNext();  // the no-age box and the year field are reset between records
    EXPECT_EQ(ed.ui.Tie(), Controls({5, 3, "Jan", 1970, 1, 0, true, "2/2"}).Tie());
}

TEST(EditNavigation, ClampsNeverWrapsNeverWrites)
{
    using Step = void (CEditRules::*)();
    const std::tuple<int, Step, int> cases[] = {
        {2, &CEditRules::OnFirst, 0}, {0, &CEditRules::OnPrev, 0},  {2, &CEditRules::OnPrev, 1},
        {0, &CEditRules::OnNext, 1},  {2, &CEditRules::OnNext, 2},  {0, &CEditRules::OnLast, 2},
        {7, &CEditRules::Start, 2},   {-4, &CEditRules::Start, 0}, {INT_MAX, &CEditRules::Start, 2},
        {INT_MIN, &CEditRules::Start, 0}};
    for (auto [from, step, to] : cases) {
        FakeEditor ed({{"1", "1", "0000", "a"}, {"2", "2", "2000", "b"}, {"3", "3", "8888", "c"}}, from);
        const Lines before = ed.Lines();
        (ed.*step)();
        EXPECT_EQ(ed.m_nCurrent, to);
        EXPECT_EQ(ed.ui.day, to);
        EXPECT_EQ(ed.ui.position, std::to_string(to + 1) + "/3");
        EXPECT_EQ(ed.shown, 2);
        EXPECT_EQ(ed.Lines(), before);
    }
}

TEST(EditNew, AppendsEmptyRecordThatTheFirstChangeFillsCompletely)
{
    FakeEditor ed;
    ed.OnNew();
    EXPECT_EQ(ed.ui.Tie(), kDefaults.Tie());
    EXPECT_EQ(ed.Lines(), Lines{".  "});
    ed.Change([](Controls& c) { c.day = 23; });
    EXPECT_EQ(ed.Lines(), Lines{"24.01 1900 "});

    FakeEditor four(std::vector<Rec>(4, Rec{"01", "01", "0000", "x"}), 1);
    four.OnNew();
    EXPECT_EQ(four.ui.position + four.Lines().back(), "5/5.  ");
}

TEST(EditDelete, AsksThenShowsTheFollowerOrTheNewLast)
{
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {0, 0, "b", "1/2"}, {1, 1, "c", "2/2"}, {2, 1, "b", "2/2"}};
    for (auto [at, current, name, position] : cases) {
        FakeEditor ed({{"1", "1", "1", "a"}, {"2", "2", "2", "b"}, {"3", "3", "3", "c"}}, at);
        ed.OnDelete();
        EXPECT_EQ(ed.m_nCurrent, current);
        EXPECT_EQ(ed.ui.name + " " + ed.ui.position, std::string(name) + " " + position);
        EXPECT_EQ(ed.Lines().size(), 2u);
        EXPECT_EQ(ed.questions, Lines{"Do you really want to delete this anniversary?"});
    }
    FakeEditor only({{"1", "1", "1", "a"}}, 0, 1);
    only.answer = false;
    only.OnDelete();
    EXPECT_EQ(only.Lines(), Lines{"1.1 1 a"});
    only.answer = true;
    only.OnDelete();
    EXPECT_EQ(only.m_nCurrent, -1);
    EXPECT_EQ(only.ui.position, "0/0");
    // "Skutečně vymazat toto výročí?"
    EXPECT_EQ(only.questions, Lines(2, "Skute\xE8n\xEC vymazat toto v\xFDro\xE8\xED?"));
    only.OnDelete();
    EXPECT_EQ(only.questions.size(), 2u) << "no record, no question";
}

TEST(EditFieldChange, YearFollowsTypeAndNoAge)
{
    // year text, the change, stored year, year field shows, year field enabled
    const std::tuple<const char*, void (*)(Controls&), const char*, int, bool> cases[] = {
        {"1950", [](Controls& c) { c.noAge = 1; }, "8888", 8888, false},
        {"8888", [](Controls& c) { c.noAge = 0; }, "1900", 1900, true},
        {"8888", [](Controls& c) { c.name = "n"; }, "8888", 8888, false},
        {"0000", [](Controls& c) { c.name = "n"; }, "9999", 0, false},
        {"1950", [](Controls& c) { c.type = 0; }, "9999", 1950, false},
        {"0000", [](Controls& c) { c.type = 1; }, "0", 0, true},
        {"9999", [](Controls& c) { c.type = 1; }, "9999", 9999, true},
    };
    for (auto [year, change, stored, shows, enabled] : cases) {
        FakeEditor ed({{"24", "12", year, "X"}});
        ed.Change(change);
        EXPECT_EQ(ed.list.m_arrYear.GetAt(0), stored) << year;
        EXPECT_EQ(ed.ui.year, shows) << year;
        EXPECT_EQ(ed.ui.yearEnabled, enabled) << year;
    }
}

TEST(EditFieldChange, TypedYearsStoredAsTheyGrowAndAnEmptyYearKeepsThePrevious)
{
    FakeEditor ed({{"5", "3", "1950", "W"}});
    ed.Change([](Controls& c) { c.year = 19; });
    EXPECT_EQ(ed.list.m_arrYear.GetAt(0), "19");
    ed.Change([](Controls& c) { c.year = 1951; });
    ed.Change([](Controls& c) {
        c.year.reset();
        c.noAge = 1;  // not read: the exchange stops at the bad year
    });
    EXPECT_EQ(ed.Lines(), Lines{"05.03 1951 W"});
    EXPECT_EQ(ed.ui.year, 1951);
}

TEST(EditFieldChange, DayAndMonthKeysAndNothingWrittenWithoutARecord)
{
    for (auto [index, key] : {std::pair(-1, "00"), std::pair(8, "09"), std::pair(9, "10")}) {
        FakeEditor ed({{"15", "06", "1950", "W"}});
        ed.Change([index = index](Controls& c) { c.day = c.month = index; });
        EXPECT_EQ(ed.Lines(), Lines{std::string(key) + "." + key + " 1950 W"});
    }
    FakeEditor none;
    none.Change([](Controls& c) { c = {4, 2, "ghost", 1950, 0, 1, true, ""}; });
    EXPECT_EQ(none.Lines().size() + none.m_nCount, 0u);
}

TEST(EditInvariants, HoldAfterRandomActions)
{
    std::mt19937 rng(20240);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    FakeEditor ed({{"1", "1", "0000", "a"}}, 5);
    for (int step = 0; step < 5000; ++step) {
        switch (pick(8)) {
        case 0: ed.OnFirst(); break;
        case 1: ed.OnPrev(); break;
        case 2: ed.OnNext(); break;
        case 3: ed.OnLast(); break;
        case 4: ed.OnNew(); break;
        case 5: ed.answer = pick(4) != 0, ed.OnDelete(); break;
        case 6: ed.Start(); break;
        default: ed.ui = {pick(32) - 1, pick(13) - 1, "n", pick(3000), pick(3) - 1, pick(2), true, ""}, ed.OnFieldChange();
        }
        for (const CStringArray* col : {ed.m_pDay, ed.m_pMonth, ed.m_pYear, ed.m_pName})
            ASSERT_EQ(col->GetSize(), ed.m_nCount);
        ASSERT_TRUE(ed.m_nCount == 0 ? ed.m_nCurrent == -1 : ed.m_nCurrent >= 0 && ed.m_nCurrent < ed.m_nCount);
        ASSERT_EQ(ed.ui.position, std::to_string(ed.m_nCurrent + 1) + "/" + std::to_string(ed.m_nCount));
    }
}

// The English texts are checked on the real buttons.
TEST(EditToolTips, CzechForAnyNonzeroLanguageAndEmptyOutOfRange)
{
    // První, Předchozí, Další, Poslední, Vložit prázdné výročí, Vymazat výročí
    const char* const czech[6] = {"Prvn\xED", "P\xF8" "edchoz\xED", "Dal\x9A\xED", "Posledn\xED",
                                  "Vlo\x9Eit pr\xE1zdn\xE9 v\xFDro\xE8\xED", "Vymazat v\xFDro\xE8\xED"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(CEditRules::ToolTipText(-7, i), czech[i]);
    EXPECT_STREQ(CEditRules::ToolTipText(0, 6), "");
    EXPECT_STREQ(CEditRules::ToolTipText(1, -1), "");
}

}  // namespace
