#include "editor/EditDlg.h"

#include <cwchar>

#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "records/Text.h"
#include "res/resource.h"

CEditDlg::CEditDlg(CEditHost& host, CWnd* parent)
    : CDialog(IDD_EDIT_DIALOG, parent), CEditRules(host.EditLanguage()), m_host(host)
{}

CEditDlg::~CEditDlg()
{
    delete m_pToolTip;
}

MessageMap CEditDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        MapCommand(IDC_EDIT_FIRST, BN_CLICKED, &CEditDlg::OnFirst),
        MapCommand(IDC_EDIT_PREV, BN_CLICKED, &CEditDlg::OnPrev),
        MapCommand(IDC_EDIT_NEXT, BN_CLICKED, &CEditDlg::OnNext),
        MapCommand(IDC_EDIT_LAST, BN_CLICKED, &CEditDlg::OnLast),
        MapCommand(IDC_EDIT_NEW, BN_CLICKED, &CEditDlg::OnNew),
        MapCommand(IDC_EDIT_DELETE, BN_CLICKED, &CEditDlg::OnDelete),
        MapCommand(IDC_EDIT_HOLIDAY, BN_CLICKED, &CEditDlg::OnFieldChange),
        MapCommand(IDC_EDIT_ANNIV, BN_CLICKED, &CEditDlg::OnFieldChange),
        MapCommand(IDC_EDIT_NOAGE, BN_CLICKED, &CEditDlg::OnFieldChange),
        MapCommand(IDC_EDIT_DAY, CBN_SELCHANGE, &CEditDlg::OnFieldChange),
        MapCommand(IDC_EDIT_MONTH, CBN_SELCHANGE, &CEditDlg::OnFieldChange),
        MapCommand(IDC_EDIT_YEAR, EN_CHANGE, &CEditDlg::OnFieldChange),
        MapCommand(IDC_EDIT_NAME, EN_CHANGE, &CEditDlg::OnFieldChange),
    };
    return MakeMessageMap(entries);
}

void CEditDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBIndex(pDX, IDC_EDIT_DAY, m_nDayIndex);
    DDX_CBIndex(pDX, IDC_EDIT_MONTH, m_nMonthIndex);
    DDX_Text(pDX, IDC_EDIT_NAME, m_strEditName);
    DDX_Text(pDX, IDC_EDIT_YEAR, m_nEditYear);
    DDX_Radio(pDX, IDC_EDIT_HOLIDAY, m_nType);
    DDX_Control(pDX, IDC_EDIT_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_EDIT_NEW, m_btnNew);
    DDX_Control(pDX, IDC_EDIT_PREV, m_btnPrev);
    DDX_Control(pDX, IDC_EDIT_NEXT, m_btnNext);
    DDX_Control(pDX, IDC_EDIT_LAST, m_btnLast);
    DDX_Control(pDX, IDC_EDIT_FIRST, m_btnFirst);
    DDX_Check(pDX, IDC_EDIT_NOAGE, m_bNoAge);
}

// Day "01".."31" and month "01".."12": index n stands for n + 1.
void CEditDlg::FillLists()
{
    const struct {
        int id;
        int count;
    } lists[] = {{IDC_EDIT_DAY, 31}, {IDC_EDIT_MONTH, 12}};
    for (const auto& list : lists) {
        HWND combo = GetDlgItem(list.id);
        for (int n = 1; n <= list.count; ++n) {
            wchar_t item[4];
            std::swprintf(item, 4, L"%02d", n);
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
    }
}

void CEditDlg::CreateToolTips()
{
    m_pToolTip = new CToolTipCtrl;
    if (!m_pToolTip->Create(this, 0)) {
        delete m_pToolTip;
        m_pToolTip = nullptr;
        return;
    }
    // In the order of CEditRules::ToolTipText.
    CBitmapButton* const buttons[] = {&m_btnFirst, &m_btnPrev, &m_btnNext, &m_btnLast, &m_btnNew, &m_btnDelete};
    for (int i = 0; i < 6; ++i)
        m_pToolTip->AddTool(buttons[i], ToolTipText(UiLanguage, i));
    m_pToolTip->Activate(TRUE);
}

BOOL CEditDlg::OnInitDialog()
{
    // The lists are filled before the base exchange selects in them.
    FillLists();
    CDialog::OnInitDialog();

    m_btnFirst.AutoLoad(IDC_EDIT_FIRST, this);
    m_btnPrev.AutoLoad(IDC_EDIT_PREV, this);
    m_btnNext.AutoLoad(IDC_EDIT_NEXT, this);
    m_btnLast.AutoLoad(IDC_EDIT_LAST, this);
    m_btnNew.AutoLoad(IDC_EDIT_NEW, this);
    m_btnDelete.AutoLoad(IDC_EDIT_DELETE, this);

    if (!m_pToolTip)
        CreateToolTips();
    m_host.RegisterEditor(m_hWnd, m_pToolTip);

    Start();
    return TRUE;
}

// Every change is stored the moment it is made, so closing has nothing left
// to collect: Exit ends the editor exactly like Esc and the close box. The
// default exchange would only add a way to be kept in the dialog.
void CEditDlg::OnOK()
{
    EndDialog(IDOK);
}

void CEditDlg::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    m_host.RegisterEditor(nullptr, nullptr);
}

void CEditDlg::ExchangeToControls()
{
    UpdateData(FALSE);
    // A static raises no notification, so the position needs no guard.
    ::SetWindowTextW(GetDlgItem(IDC_EDIT_POSITION), tolvari::Widen(m_strPosition).c_str());
    ::EnableWindow(GetDlgItem(IDC_EDIT_YEAR), m_bYearEnabled ? TRUE : FALSE);
}

void CEditDlg::ExchangeFromControls()
{
    UpdateData(TRUE);
}

bool CEditDlg::ConfirmDelete(const std::string& text)
{
    return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
