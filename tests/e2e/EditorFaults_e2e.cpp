// The record editor with what its lists and the code page do not hold: a
// date outside the day and month lists, letters outside code page 1250.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

namespace {

const std::string kHead = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n";

struct EditorFaults : ::testing::Test {
    void Open(const std::string& records)
    {
        ASSERT_TRUE(e2e::StartWith(app, dir, kHead + records));
        ASSERT_NE(ed = e2e::OpenBySysMenu(app, L'e', IDC_EDIT_NOAGE), nullptr);
        e2e::App::Click(ed, IDC_EDIT_FIRST);
    }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return e2e::Send(::GetDlgItem(ed, id), message, wParam, lParam);
    }
    // A click into the name, a selection, keystrokes.
    void Type(int start, int end, const std::wstring& text)
    {
        Send(IDC_EDIT_NAME, WM_LBUTTONDOWN, MK_LBUTTON);
        Send(IDC_EDIT_NAME, WM_LBUTTONUP);
        Send(IDC_EDIT_NAME, EM_SETSEL, static_cast<WPARAM>(start), end);
        for (wchar_t c : text)
            Send(IDC_EDIT_NAME, WM_CHAR, c, 1);
    }
    std::string Saved()
    {
        e2e::App::Click(ed, IDOK);
        EXPECT_TRUE(e2e::Eventually([&] { return !::IsWindow(ed); }) && app.Sync());
        return dir.Read(L"Tolvari.dat");
    }
    e2e::TempDir dir;
    e2e::App app;
    HWND ed = nullptr;
};

// Each odd date follows a record on 24.12, whose selection must not stay;
// a name typed then stores "00" for the part outside its list.
TEST_F(EditorFaults, DateOutsideTheListsSelectsNothingAndStoresDoubleZero)
{
    const struct {
        const char *line, *stored;
        int day, month;
    } cases[] = {
        {"0503.03 1950 A", "00.03 1950 A!", -1, 2},
        {"05.13 1950 B", "05.00 1950 B!", 4, -1},
        {"05.00 1950 C", "05.00 1950 C!", 4, -1},
        {"32.12 1950 D", "00.12 1950 D!", -1, 11},
    };
    std::string records, stored;
    for (const auto& c : cases) {
        records += std::string("24.12 9999 Eve\r\n") + c.line + "\r\n";
        stored += std::string("24.12 9999 Eve\r\n") + c.stored + "\r\n";
    }
    Open(records);
    for (const auto& c : cases) {
        e2e::App::Click(ed, IDC_EDIT_NEXT);
        EXPECT_EQ(Send(IDC_EDIT_DAY, CB_GETCURSEL), c.day) << c.line;
        EXPECT_EQ(Send(IDC_EDIT_MONTH, CB_GETCURSEL), c.month) << c.line;
        Type(1, 1, L"!");
        e2e::App::Click(ed, IDC_EDIT_NEXT);
    }
    EXPECT_EQ(Saved(), kHead + stored);
}

// Letters the code page lacks become "?", also those with a look-alike in it
// (n for \u00F1, o for \u00F8); a letter it has (\u00E7) stays. Each rewrite of
// the name keeps the caret, so typing goes on in place.
TEST_F(EditorFaults, LettersOutsideTheCodePageBecomeQuestionMarksAtTheCaret)
{
    Open("24.12 9999 Muoz\r\n");
    Type(2, 2, L"\u00F1");
    EXPECT_EQ(Send(IDC_EDIT_NAME, EM_GETSEL), MAKELONG(3, 3));
    for (wchar_t c : std::wstring(L"x S\u00F8ren \u00E0 Fran\u00E7oise "))
        Send(IDC_EDIT_NAME, WM_CHAR, c, 1);
    EXPECT_EQ(e2e::App::Text(ed, IDC_EDIT_NAME), "Mu?x S?ren ? Fran\xE7oise oz");
    EXPECT_EQ(Saved(), kHead + "24.12 9999 Mu?x S?ren ? Fran\xE7oise oz\r\n");
}

}  // namespace
