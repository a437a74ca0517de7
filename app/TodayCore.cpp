#include "app/TodayCore.h"

#include <algorithm>
#include <new>
#include <utility>

#include "calendar/MovableHolidays.h"
#include "records/DataFile.h"
#include "records/FileSystem.h"

CTodayCore::CTodayCore(int uiLanguage) : UiLanguage(uiLanguage) {}

CTodayCore::~CTodayCore() = default;

void CTodayCore::LoadIniFile()
{
    Settings& values = *this;
    values = DefaultSettings(UiLanguage);
    const char* name = SettingsFileName(UiLanguage);
    std::string error;
    try {
        std::string text;
        const filesys::ReadStatus status = filesys::ReadFileBelow(name, text, kMaxSettingsFileBytes);
        if (status == filesys::ReadStatus::Read)
            ApplySettingsText(values, text);
        else
            error = status == filesys::ReadStatus::TooLarge ? SettingsTooLargeError(UiLanguage)
                                                            : SettingsOpenError(UiLanguage);
    } catch (const std::bad_alloc&) {
        values = DefaultSettings(UiLanguage);
        error = DataFileMemoryError(name, UiLanguage);
    }
    if (!error.empty()) {
        ShowError(error);
        RequestQuit();
    }
}

// A writer that honours the lock gets this long to finish; after that the
// file is read or written all the same, as before there was a lock.
constexpr unsigned kLockWaitMs = 5000;

void CTodayCore::LoadFile()
{
    std::string error;
    {
        // Marked before it is read, under the writers' lock: an import sees
        // the mark, or has written the file before it is read.
        DataFileLock lock;
        lock.Lock(m_strDataFile, kLockWaitMs);
        m_running.Mark(m_strDataFile);
        try {
            bool tooLarge = false;
            if (!LoadDataFile(m_strDataFile, *this, &tooLarge)) {
                error = tooLarge ? DataFileTooLargeError(m_strDataFile, UiLanguage)
                                 : DataFileOpenError(m_strDataFile, UiLanguage);
            }
        } catch (const std::bad_alloc&) {
            // What was read goes, so that the message and the end have memory.
            static_cast<RecordList&>(*this) = RecordList();
            error = DataFileMemoryError(m_strDataFile, UiLanguage);
        }
    }
    if (!error.empty()) {
        ShowError(error);
        RequestQuit();
    }
}

void CTodayCore::SaveFile()
{
    // No quit here: the records are still in memory and the next close of
    // the editor saves them again. The save makes a new file, which the
    // mark follows before another writer may look.
    bool saved = false, memory = false;
    {
        DataFileLock lock;
        lock.Lock(m_strDataFile, kLockWaitMs);
        try {
            saved = SaveDataFile(m_strDataFile, *this, UiLanguage);
        } catch (const std::bad_alloc&) {
            memory = true;
        }
        if (saved)
            m_running.Mark(m_strDataFile);
    }
    if (saved)
        UnsavedChanges = false;
    else
        ShowError(memory ? DataFileSaveMemoryError(m_strDataFile, UiLanguage)
                         : DataFileWriteError(m_strDataFile, UiLanguage));
}

std::string CTodayCore::RecordDate(int index) const
{
    if (index < 0 || index >= m_nCount || index >= m_arrDay.GetSize() || index >= m_arrMonth.GetSize())
        return std::string();
    return std::string(m_arrDay[index]) + "." + std::string(m_arrMonth[index]);
}

void CTodayCore::EditorOpening()
{
    m_editorStart = m_nCount <= 0 ? -1 : std::clamp(CurrentRecord, 0, m_nCount - 1);  // as the editor takes it
    m_editorDate = RecordDate(CurrentRecord);
}

void CTodayCore::TakeEditorDate(int dayIndex, int monthIndex)
{
    if (dayIndex < 0 || dayIndex > 30 || monthIndex < 0 || monthIndex > 11)
        return;
    const bool openedOn = CurrentRecord == m_editorStart && RecordDate(CurrentRecord) == m_editorDate;
    if (openedOn && dayIndex == 28 && monthIndex == 1 && m_nDay == 28 && m_nMonth == 2 && MonthLength(2, m_nYear) == 28)
        return;
    m_nDay = dayIndex + 1;
    m_nMonth = monthIndex + 1;
    m_nDOW = WeekdayOf(m_nDay, m_nMonth, m_nYear);
}

void CTodayCore::FindInfo()
{
    DayReportTexts& texts = *this;
    const int last = BuildDayReport(*this, *this, UiLanguage, texts, FindHolidayCountry(m_strHolidays));
    if (last >= 0)
        CurrentRecord = last;
    for (std::string* field : {&m_showDnes, &m_showCalendar, &m_showHolidays, &m_showBirthdays, &m_showNextDays})
        *field = FitReportField(std::move(*field));
    ShowReport();
}

std::string FitReportField(std::string text)
{
    static const char kMore[] = "...";
    static const char kLineBreak[] = "\r\n";
    std::replace(text.begin(), text.end(), '\0', '?');
    if (text.size() <= kMaxFieldLine)
        return text;
    std::string fitted;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(kLineBreak, start);
        const size_t length = (end == std::string::npos ? text.size() : end) - start;
        if (length > kMaxFieldLine) {
            fitted.append(text, start, kMaxFieldLine);
            fitted += kMore;
        } else {
            fitted.append(text, start, length);
        }
        if (fitted.size() > kMaxFieldText) {
            fitted.resize(kMaxFieldText);
            fitted += kMore;
            return fitted;
        }
        if (end == std::string::npos)
            return fitted;
        fitted += kLineBreak;
        start = end + 2;
    }
}

const char* UnexpectedFailureText(bool outOfMemory, bool unsavedChanges, int uiLanguage)
{
    // [language][out of memory][unsaved changes]. Czech in code page 1250: "Chyba: Neočekávaná
    // chyba." / "Chyba: Nedostatek paměti.", then "Program končí." or "Program končí bez uložení změn."
    static const char* const kTexts[2][2][2] = {
        {{"Error: Unexpected failure.\n\nThe program ends.",
          "Error: Unexpected failure.\n\nThe program ends without saving changes."},
         {"Error: Not enough memory.\n\nThe program ends.",
          "Error: Not enough memory.\n\nThe program ends without saving changes."}},
        {{"Chyba: Neo\xE8"
          "ek\xE1van\xE1 chyba.\n\nProgram kon\xE8\xED.",
          "Chyba: Neo\xE8"
          "ek\xE1van\xE1 chyba.\n\nProgram kon\xE8\xED bez ulo\x9E"
          "en\xED zm\xECn."},
         {"Chyba: Nedostatek pam\xECti.\n\nProgram kon\xE8\xED.",
          "Chyba: Nedostatek pam\xECti.\n\nProgram kon\xE8\xED bez ulo\x9E"
          "en\xED zm\xECn."}},
    };
    return kTexts[uiLanguage ? 1 : 0][outOfMemory ? 1 : 0][unsavedChanges ? 1 : 0];
}
