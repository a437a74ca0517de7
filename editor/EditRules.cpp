#include "editor/EditRules.h"

#include <climits>

#include "calendar/DayReport.h"
#include "records/Atoi.h"

namespace {

// A copy of one field; the array's own element type is its business.
std::string Text(const CStringArray& column, int index)
{
    return std::string(column.GetAt(index));
}

// Index of a zero-based list from a one-based number, without overflow.
int IndexFromNumber(int number)
{
    return number == INT_MIN ? INT_MIN : number - 1;
}

// The Czech row in code page 1250: První, Předchozí, Další, Poslední, Vložit prázdné výročí,
// Vymazat výročí.
const char* const kToolTips[2][6] = {
    {"First", "Previous", "Next", "Last", "Add empty anniversary", "Delete anniversary"},
    {"Prvn\xED",
     "P\xF8"
     "edchoz\xED",
     "Dal\x9A\xED", "Posledn\xED", "Vlo\x9Eit pr\xE1zdn\xE9 v\xFDro\xE8\xED", "Vymazat v\xFDro\xE8\xED"},
};

const char* DeleteQuestion(int uiLanguage)
{
    // Czech in code page 1250: "Skutečně vymazat toto výročí?"
    return uiLanguage ? "Skute\xE8n\xEC vymazat toto v\xFDro\xE8\xED?"
                      : "Do you really want to delete this anniversary?";
}

}  // namespace

CEditRules::CEditRules(int uiLanguage) : UiLanguage(uiLanguage) {}

CEditRules::~CEditRules() = default;

const char* CEditRules::ToolTipText(int uiLanguage, int buttonIndex)
{
    if (buttonIndex < 0 || buttonIndex >= 6)
        return "";
    return kToolTips[uiLanguage ? 1 : 0][buttonIndex];
}

int CEditRules::ClampToList(int index) const
{
    if (m_nCount <= 0)
        return -1;
    if (index < 0)
        return 0;
    return index < m_nCount ? index : m_nCount - 1;
}

void CEditRules::Go(int index)
{
    m_nCurrent = ClampToList(index);
    ShowRecord(m_nCurrent);
}

void CEditRules::Start()
{
    Go(m_nCurrent);
}
void CEditRules::OnFirst()
{
    Go(0);
}
void CEditRules::OnPrev()
{
    Go(m_nCurrent > 0 ? m_nCurrent - 1 : 0);
}
void CEditRules::OnNext()
{
    Go(m_nCurrent < m_nCount - 1 ? m_nCurrent + 1 : m_nCount - 1);
}
void CEditRules::OnLast()
{
    Go(m_nCount - 1);
}

void CEditRules::ShowRecord(int index)
{
    m_strPosition = std::to_string(static_cast<long long>(m_nCurrent) + 1) + "/" + std::to_string(m_nCount);

    // A new record has empty texts and shows these defaults until it is edited.
    m_nType = 1;
    m_nDayIndex = 0;
    m_nMonthIndex = 0;
    m_nEditYear = 1900;
    m_strEditName.clear();
    m_bNoAge = 0;
    m_bYearEnabled = true;

    if (index < 0 || index >= m_nCount || m_pDay->GetAt(index) == "") {
        ExchangeToControls();
        return;
    }

    m_nDayIndex = IndexFromNumber(AtoiSaturating(Text(*m_pDay, index)));
    m_nMonthIndex = IndexFromNumber(AtoiSaturating(Text(*m_pMonth, index)));
    m_nEditYear = AtoiSaturating(Text(*m_pYear, index));
    m_strEditName = Text(*m_pName, index);

    // Year codes: "0000" (and anything else reading as 0) and "9999" are
    // holidays, "8888" an anniversary whose age is not shown.
    if (m_nEditYear == 0 || m_nEditYear == 9999) {
        m_nType = 0;
        m_bYearEnabled = false;
    }
    if (m_nEditYear == 8888) {
        m_bYearEnabled = false;
        m_bNoAge = 1;
    }
    ExchangeToControls();
}

void CEditRules::OnNew()
{
    // Texts stay empty until the first field change writes all four.
    m_pName->Add("");
    m_pDay->Add("");
    m_pMonth->Add("");
    m_pYear->Add("");
    ++m_nCount;
    m_nCurrent = m_nCount - 1;
    ShowRecord(m_nCurrent);
}

void CEditRules::OnDelete()
{
    if (!HasRecord())
        return;
    if (!ConfirmDelete(DeleteQuestion(UiLanguage)))
        return;
    m_pName->RemoveAt(m_nCurrent);
    m_pDay->RemoveAt(m_nCurrent);
    m_pMonth->RemoveAt(m_nCurrent);
    m_pYear->RemoveAt(m_nCurrent);
    --m_nCount;
    // The record that followed takes the position; after the last one, the new last.
    Go(m_nCurrent);
    ReleaseReplaced();
}

void CEditRules::OnFieldChange()
{
    const int oldNoAge = m_bNoAge;
    ExchangeFromControls();

    if (m_bNoAge) {
        m_bYearEnabled = false;
        m_nEditYear = 8888;
    } else if (m_bNoAge != oldNoAge) {
        m_bYearEnabled = true;
        m_nEditYear = 1900;
    }

    // A holiday has no year of its own, whatever the year field shows.
    std::string year;
    if (m_nType == 0) {
        year = "9999";
        m_bYearEnabled = false;
    } else {
        year = std::to_string(m_nEditYear);
        m_bYearEnabled = !m_bNoAge;
    }

    if (HasRecord()) {
        m_pDay->SetAt(m_nCurrent, DayKey(m_nDayIndex + 1LL));
        m_pMonth->SetAt(m_nCurrent, DayKey(m_nMonthIndex + 1LL));
        m_pYear->SetAt(m_nCurrent, year);
        m_pName->SetAt(m_nCurrent, m_strEditName);
    }
    ExchangeToControls();
    ReleaseReplaced();
}

void CEditRules::ReleaseReplaced()
{
    // The editor keeps copies only, so no view outlives the change.
    for (CStringArray* column : {m_pDay, m_pMonth, m_pYear, m_pName})
        column->ReleaseReplaced();
}
