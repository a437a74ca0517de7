#include "app/TodayCore.h"

#include "records/DataFile.h"
#include "records/FileSystem.h"

CTodayCore::CTodayCore(int uiLanguage) : UiLanguage(uiLanguage) {}

CTodayCore::~CTodayCore() = default;

void CTodayCore::LoadIniFile()
{
    Settings& values = *this;
    values = DefaultSettings(UiLanguage);
    std::string text;
    if (!filesys::ReadWholeFile(SettingsFileName(UiLanguage), text)) {
        ShowError(SettingsOpenError(UiLanguage));
        RequestQuit();
        return;
    }
    ApplySettingsText(values, text);
}

void CTodayCore::LoadFile()
{
    if (!LoadDataFile(m_strDataFile, *this)) {
        ShowError(DataFileOpenError(m_strDataFile, UiLanguage));
        RequestQuit();
    }
}

void CTodayCore::SaveFile()
{
    // No quit here: the records are still in memory and the next close of
    // the editor saves them again.
    if (!SaveDataFile(m_strDataFile, *this, UiLanguage))
        ShowError(DataFileWriteError(m_strDataFile, UiLanguage));
}

void CTodayCore::TakeEditorDate(int dayIndex, int monthIndex)
{
    if (dayIndex < 0 || dayIndex > 30 || monthIndex < 0 || monthIndex > 11)
        return;
    m_nDay = dayIndex + 1;
    m_nMonth = monthIndex + 1;
    m_nDOW = WeekdayOf(m_nDay, m_nMonth, m_nYear);
}

void CTodayCore::FindInfo()
{
    DayReportTexts& texts = *this;
    const int last = BuildDayReport(*this, *this, UiLanguage, texts);
    if (last >= 0)
        CurrentRecord = last;
    ShowReport();
}
