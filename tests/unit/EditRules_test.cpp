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
                Column(c).Add(r[c]);
        m_nCount = static_cast<int>(recs.size());
        m_nCurrent = start;
        m_pDay = &Column(0), m_pMonth = &Column(1), m_pYear = &Column(2), m_pName = &Column(3);
        Start();
    }
    CStringArray& Column(int c)
    {
        CStringArray* columns[] = {&list.m_arrDay, &list.m_arrMonth, &list.m_arrYear, &list.m_arrName};
        return *columns[c];
    }
    // Records as the data file writes them.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.m_arrDay.GetSize(); ++i)
            out.push_back(std::string(Column(0).GetAt(i)) + "." + std::string(Column(1).GetAt(i)) + " " +
                          std::string(Column(2).GetAt(i)) + " " + std::string(Column(3).GetAt(i)));
        return out;
    }
    // The user changes one control, given as a change to what is shown.
    template <class F> void Change(F edit)
    {
        edit(ui);
        OnFieldChange();
    }

    RecordList list;
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

// UTF-16 -> cp1250 for the Czech letters used, so that the expected texts do
// not share the code's byte escapes.
std::string Cp1250(std::u16string_view text)
{
    static const std::u16string_view from = u"\u00E1\u00E9\u00ED\u00FD\u010D\u011B\u0159\u0161\u017E";
    static const char to[] = "\xE1\xE9\xED\xFD\xE8\xEC\xF8\x9A\x9E";
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : from.find(c) != from.npos ? to[from.find(c)] : '?';
    return out;
}

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

TEST(EditStart, PositionIsClampedAndEmptyListShowsNothing)
{
    struct Case { int count, start, current; const char* position; };
    const Case cases[] = {{0, 0, -1, "0/0"}, {0, 1, -1, "0/0"},      {0, -1, -1, "0/0"},
                          {1, 1, 0, "1/1"},  {3, 1, 1, "2/3"},       {3, 7, 2, "3/3"},
                          {3, -4, 0, "1/3"}, {3, INT_MAX, 2, "3/3"}, {3, INT_MIN, 0, "1/3"}};
    for (const Case& c : cases) {
        FakeEditor ed(std::vector<Rec>(static_cast<size_t>(c.count), Rec{"05", "03", "1950", "W"}), c.start);
        EXPECT_EQ(ed.m_nCurrent, c.current) << c.start;
        EXPECT_EQ(ed.ui.position, c.position) << c.start;
    }
    EXPECT_EQ(FakeEditor().ui.Tie(), Controls({0, 0, "", 1900, 1, 0, true, "0/0"}).Tie());
}

TEST(EditNavigation, NeverWrapsNeverWritesNeverReadsAnEmptyList)
{
    using Step = void (CEditRules::*)();
    const std::tuple<int, Step, int> cases[] = {{2, &CEditRules::OnFirst, 0}, {0, &CEditRules::OnPrev, 0},
                                                {2, &CEditRules::OnPrev, 1},  {0, &CEditRules::OnNext, 1},
                                                {2, &CEditRules::OnNext, 2},  {0, &CEditRules::OnLast, 2}};
    for (auto [from, step, to] : cases) {
        FakeEditor ed({{"1", "1", "0000", "a"}, {"2", "2", "2000", "b"}, {"3", "3", "8888", "c"}}, from);
        const Lines before = ed.Lines();
        (ed.*step)();
        EXPECT_EQ(ed.m_nCurrent, to);
        EXPECT_EQ(ed.ui.day, to);
        EXPECT_EQ(ed.shown, 2);
        EXPECT_EQ(ed.Lines(), before);
    }
    for (Step step : {&CEditRules::OnFirst, &CEditRules::OnPrev, &CEditRules::OnNext, &CEditRules::OnLast}) {
        FakeEditor empty;
        (empty.*step)();
        EXPECT_EQ(empty.m_nCurrent, -1);
        EXPECT_EQ(empty.ui.position, "0/0");
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
    EXPECT_EQ(four.ui.position, "5/5");
    EXPECT_EQ(four.Lines().back(), ".  ");
}

TEST(EditDelete, ShowsTheFollowerOrTheNewLast)
{
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {0, 0, "b", "1/2"}, {1, 1, "c", "2/2"}, {2, 1, "b", "2/2"}};
    for (auto [at, current, name, position] : cases) {
        FakeEditor ed({{"1", "1", "1", "a"}, {"2", "2", "2", "b"}, {"3", "3", "3", "c"}}, at);
        ed.OnDelete();
        EXPECT_EQ(ed.m_nCurrent, current);
        EXPECT_EQ(ed.ui.name, name);
        EXPECT_EQ(ed.ui.position, position);
        EXPECT_EQ(ed.Lines().size(), 2u);
        EXPECT_EQ(ed.questions, Lines{"Do you really want to delete this anniversary?"});
    }
    FakeEditor only({{"1", "1", "1", "a"}}, 0, 1);
    only.OnDelete();
    EXPECT_EQ(only.m_nCurrent, -1);
    EXPECT_EQ(only.ui.position, "0/0");
    EXPECT_EQ(only.questions, Lines{Cp1250(u"Skute\u010Dn\u011B vymazat toto v\u00FDro\u010D\u00ED?")});
}

TEST(EditDelete, NoAnswerOrNoRecordChangesNothing)
{
    FakeEditor ed({{"1", "1", "1", "a"}});
    ed.answer = false;
    ed.OnDelete();
    EXPECT_EQ(ed.Lines(), Lines{"1.1 1 a"});
    EXPECT_EQ(ed.m_nCount, 1);
    EXPECT_EQ(ed.questions.size(), 1u);

    FakeEditor empty;
    empty.OnDelete();
    EXPECT_TRUE(empty.questions.empty());
    EXPECT_EQ(empty.m_nCount, 0);
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
    for (int typed : {1, 19, 195, 1951}) {
        ed.Change([typed](Controls& c) { c.year = typed; });
        EXPECT_EQ(ed.list.m_arrYear.GetAt(0), std::to_string(typed));
    }
    ed.Change([](Controls& c) {
        c.year.reset();
        c.noAge = 1;  // not read: the exchange stops at the bad year
    });
    EXPECT_EQ(ed.Lines(), Lines{"05.03 1951 W"});
    EXPECT_EQ(ed.ui.year, 1951);
}

TEST(EditFieldChange, DayAndMonthKeys)
{
    const std::pair<int, std::string> cases[] = {{-1, "00"}, {0, "01"}, {8, "09"}, {9, "10"}, {30, "31"}};
    for (auto [index, key] : cases) {
        FakeEditor ed({{"15", "06", "1950", "W"}});
        ed.Change([index = index](Controls& c) { c.day = c.month = index; });
        EXPECT_EQ(ed.Lines(), Lines{key + "." + key + " 1950 W"});
    }
}

TEST(EditFieldChange, NoRecordShownWritesNothing)
{
    FakeEditor ed;
    ed.Change([](Controls& c) { c = {4, 2, "ghost", 1950, 0, 1, true, ""}; });
    EXPECT_TRUE(ed.Lines().empty());
    EXPECT_EQ(ed.m_nCount, 0);
    EXPECT_EQ(ed.m_nCurrent, -1);
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

TEST(EditToolTips, BothLanguagesAndOutOfRange)
{
    const char* english[] = {"First", "Previous", "Next", "Last", "Add empty anniversary", "Delete anniversary"};
    const std::u16string_view czech[] = {u"Prvn\u00ED", u"P\u0159edchoz\u00ED", u"Dal\u0161\u00ED",
                                         u"Posledn\u00ED", u"Vlo\u017Eit pr\u00E1zdn\u00E9 v\u00FDro\u010D\u00ED",
                                         u"Vymazat v\u00FDro\u010D\u00ED"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(CEditRules::ToolTipText(0, i), english[i]);
        EXPECT_EQ(CEditRules::ToolTipText(1, i), Cp1250(czech[i]));
        EXPECT_STREQ(CEditRules::ToolTipText(-7, i), CEditRules::ToolTipText(1, i));  // any nonzero is Czech
    }
    EXPECT_STREQ(CEditRules::ToolTipText(0, 6), "");
    EXPECT_STREQ(CEditRules::ToolTipText(1, -1), "");
}

}  // namespace
