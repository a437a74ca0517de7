// The record editor with what no list holds: dates outside the day and
// month lists, and letters outside code page 1250 typed into the name.
#include "Driver.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

using e2e::App;
using e2e::SendBounded;

enum : int {
    kFirst = IDC_EDIT_FIRST, kNext = IDC_EDIT_NEXT, kDay = IDC_EDIT_DAY, kMonth = IDC_EDIT_MONTH,
    kName = IDC_EDIT_NAME,
};

const std::string kHead = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n";

struct EditorFaults : ::testing::Test {
    HWND Open(const std::string& records)
    {
        EXPECT_TRUE(e2e::StartWith(app, dir, kHead + records));
        HWND ed = e2e::OpenBySysMenu(app, IDM_EDITBOX, IDC_EDIT_NOAGE);
        EXPECT_NE(ed, nullptr);
        if (ed)
            App::Click(ed, kFirst);
        return ed;
    }
    std::string Close(HWND ed)
    {
        App::Click(ed, IDOK);
        EXPECT_TRUE(e2e::WaitGone(ed));
        EXPECT_TRUE(app.Sync());
        return dir.Read(L"Tolvari.dat");
    }
    // Clicks into the name field, selects from start to end and types.
    static void Type(HWND ed, int start, int end, const std::wstring& text)
    {
        HWND name = ::GetDlgItem(ed, kName);
        SendBounded(name, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendBounded(name, WM_LBUTTONUP, 0, 0);
        SendBounded(name, EM_SETSEL, static_cast<WPARAM>(start), end);
        for (wchar_t c : text)
            SendBounded(name, WM_CHAR, c, 1);
    }
    e2e::TempDir dir;
    App app;
};

int Selected(HWND ed, int id)
{
    return static_cast<int>(SendBounded(::GetDlgItem(ed, id), CB_GETCURSEL));
}

// Each odd date follows a record on 24.12: neither list may keep that
// selection, and a name typed then stores "00" for the date outside.
TEST_F(EditorFaults, DateOutsideTheListsSelectsNothingAndStoresDoubleZero)
{
    const struct {
        const char* line;
        int day, month;
        const char* stored;
    } cases[] = {
        {"0503.03 1950 A", -1, 2, "00.03 1950 A!"},
        {"05.13 1950 B", 4, -1, "05.00 1950 B!"},
        {"05.00 1950 C", 4, -1, "05.00 1950 C!"},
        {"32.12 1950 D", -1, 11, "00.12 1950 D!"},
    };
    std::string records, stored;
    for (const auto& c : cases) {
        records += std::string("24.12 9999 Eve\r\n") + c.line + "\r\n";
        stored += std::string("24.12 9999 Eve\r\n") + c.stored + "\r\n";
    }
    HWND ed = Open(records);
    ASSERT_NE(ed, nullptr);
    for (const auto& c : cases) {
        EXPECT_EQ(Selected(ed, kDay), 23);
        App::Click(ed, kNext);
        EXPECT_EQ(Selected(ed, kDay), c.day) << c.line;
        EXPECT_EQ(Selected(ed, kMonth), c.month) << c.line;
        Type(ed, 1, 1, L"!");
        App::Click(ed, kNext);
    }
    EXPECT_EQ(Close(ed), kHead + stored);
}

// A letter without a code page 1250 form is stored as "?", also where the
// code page has a look-alike (o for \u00F8); one it has stays itself.
TEST_F(EditorFaults, LettersOutsideTheCodePageAreStoredAsQuestionMarks)
{
    HWND ed = Open("24.12 9999 Eve\r\n");
    ASSERT_NE(ed, nullptr);
    Type(ed, 0, -1, L"S\u00F8ren Mu\u00F1oz \u00E0 Fran\u00E7oise");
    EXPECT_EQ(App::WindowTextW(::GetDlgItem(ed, kName)), L"S?ren Mu?oz ? Fran\u00E7oise");
    EXPECT_EQ(Close(ed), kHead + "24.12 9999 S?ren Mu?oz ? Fran\xE7oise\r\n");
}

// The field rewritten with "?" keeps the caret, so typing goes on in place.
TEST_F(EditorFaults, RewrittenNameKeepsTheCaret)
{
    HWND ed = Open("24.12 9999 Muoz\r\n");
    ASSERT_NE(ed, nullptr);
    Type(ed, 2, 2, L"\u00F1");
    EXPECT_EQ(SendBounded(::GetDlgItem(ed, kName), EM_GETSEL), MAKELONG(3, 3));
    SendBounded(::GetDlgItem(ed, kName), WM_CHAR, L'x', 1);
    EXPECT_EQ(App::Text(ed, kName), "Mu?xoz");
}

}  // namespace
