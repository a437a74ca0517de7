// Editing rules of the record editor, free of any window system. The dialog
// derives from CEditRules, moves the members to and from its controls and
// forwards its button and field notifications to the handlers here.
#pragma once

#include <string>

#include "records/RecordList.h"

class CEditRules {
public:
    explicit CEditRules(int uiLanguage);
    virtual ~CEditRules();

    int UiLanguage;  // 0 English, nonzero Czech

    // Set by the caller before Start(); copied back when the editor closes.
    int m_nCount = 0;
    int m_nCurrent = -1;  // record shown; -1 exactly when the list is empty
    CStringArray *m_pDay = nullptr, *m_pMonth = nullptr, *m_pYear = nullptr, *m_pName = nullptr;

    // Selected list indices, 0 standing for "01". ShowRecord keeps whatever
    // atoi(text) - 1 gives, so a record with day "45" or "0" leaves a value
    // outside 0..30 / 0..11: the lists then show no selection, and the main
    // window treats such an index as "keep the displayed date".
    int m_nDayIndex = -1, m_nMonthIndex = -1;
    std::string m_strEditName;  // cp1250
    int m_nEditYear = 0;
    int m_nType = -1;  // 0 Holiday, 1 Anniversary, -1 none
    int m_bNoAge = 0;
    bool m_bYearEnabled = true;  // state of the year field
    std::string m_strPosition;   // text of the position static, "%d/%d"

    // Brings the caller's start position into the list (past the end: the
    // last record, negative: the first, empty list: none) and shows it.
    void Start();
    void ShowRecord(int index);

    // Navigation never wraps and never reads from an empty list.
    void OnFirst();
    void OnPrev();
    void OnNext();
    void OnLast();

    void OnNew();
    // Asks first; with no record shown it neither asks nor changes anything.
    void OnDelete();
    // Writes day, month, year and name of the shown record in one go; with no
    // record shown it only updates the members and the year field.
    void OnFieldChange();

    // Tooltip of bitmap button 0 First, 1 Previous, 2 Next, 3 Last, 4 Add,
    // 5 Delete, in cp1250; "" for any other index.
    static const char* ToolTipText(int uiLanguage, int buttonIndex);

protected:
    // Members -> controls, including the position text and whether the year
    // field is enabled.
    virtual void ExchangeToControls() = 0;
    // Controls -> members. When the year field holds no number the exchange
    // stops there, leaving m_nEditYear, m_nType and m_bNoAge as they were.
    virtual void ExchangeFromControls() = 0;
    // Yes/No box with the question icon; true means Yes.
    virtual bool ConfirmDelete(const std::string& text) = 0;

private:
    bool HasRecord() const { return m_nCurrent >= 0 && m_nCurrent < m_nCount; }
    int ClampToList(int index) const;
    void Go(int index);
    void ReleaseReplaced();
};
