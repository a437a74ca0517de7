// Everything the main window does that is not drawing: settings, records,
// the displayed day and its report. The window derives from it and supplies
// the three user-facing effects.
#pragma once

#include <ctime>
#include <string>

#include "app/Settings.h"
#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/RecordList.h"
#include "running/RunningMark.h"

// The report fields are multiline edit controls, whose layout takes time
// growing with the square of a line's length: a 100 KB line keeps the window
// from opening for minutes. Texts that long only come from damaged or
// machine-made files, so a field shows at most kMaxFieldLine bytes of a line
// and kMaxFieldText bytes in all; a cut line or text ends in "...". A control
// ends its text at a NUL byte, which would hide the rest of the field, so a
// NUL shows as "?", as a character without a code page 1250 form does.
constexpr size_t kMaxFieldLine = 2000;
constexpr size_t kMaxFieldText = 16000;
std::string FitReportField(std::string text);

// The box shown when a failure escapes the program's handlers, in code page
// 1250; it says changes are lost only when there may be some. A literal, as
// memory may have run out.
const char* UnexpectedFailureText(bool outOfMemory, bool unsavedChanges, int uiLanguage);

class CTodayCore : public DayReportTexts, public CurrentDate, public RecordList, public Settings {
public:
    explicit CTodayCore(int uiLanguage);
    virtual ~CTodayCore();

    int UiLanguage;  // 0 English, nonzero Czech
    // The list may differ from the data file: set when the editor opens,
    // cleared by a save that succeeded.
    bool UnsavedChanges = false;

    // tm_mday, tm_mon + 1, tm_year + 1900, tm_wday + 1.
    void SetDateFromClock(const std::tm& local) { CurrentDate::SetDateFromClock(local); }
    // Defaults, then the settings file of the current directory. A missing
    // file is reported and ends the program, but the defaults stay usable.
    void LoadIniFile();
    // The data file named by the settings, marked as in use for as long as
    // the program runs (running/RunningMark.h). A file that cannot be read,
    // is too large or does not fit the memory is reported and ends the
    // program, with an empty list.
    void LoadFile();
    // Rewrites the data file whole. If that fails, for want of memory too,
    // the old file stays as it was and the list stays in memory, so the user
    // can try again.
    void SaveFile();
    void NextDay() { CurrentDate::NextDay(); }
    void PrevDay() { CurrentDate::PrevDay(); }
    // Rebuilds the five report texts, each fitted to its field, and points
    // CurrentRecord at the last record of the displayed day (unchanged if
    // there is none).
    void FindInfo();
    // The editor opens on CurrentRecord.
    void EditorOpening();
    // The editor has closed on record CurrentRecord: show its day and month
    // in the same year, with the weekday that date really has. Indices
    // outside the day and month lists leave the displayed date as it was,
    // and so does closing on the 29.02 record it opened on, shown among the
    // 28 February's of a year without a 29th.
    void TakeEditorDate(int dayIndex, int monthIndex);

protected:
    // User-facing effects; the dialog implements them, tests replace them.
    virtual void ShowError(const std::string& text) = 0;  // modal stop-icon box, text in cp1250
    // Only posts the quit (PostQuitMessage(0)): the caller's code after it
    // still runs, so a caller that must stop returns right after.
    virtual void RequestQuit() = 0;
    virtual void ShowReport() = 0;  // move the five texts into the window

private:
    RunningMark m_running;
    int m_editorStart = -1;    // the record the editor opened on
    std::string m_editorDate;  // its day and month then
    std::string RecordDate(int index) const;
};
