// The record editor dialog: pages through the records and edits them in
// place. The rules live in CEditRules; this class only moves the members to
// and from the controls and forwards the user's actions.
#pragma once

#include "editor/EditRules.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CEditDlg : public CDialog, public CEditRules {
public:
    explicit CEditDlg(CWnd* parent = nullptr);
    ~CEditDlg() override;

    CBitmapButton m_btnFirst, m_btnPrev, m_btnNext, m_btnLast, m_btnNew, m_btnDelete;
    CToolTipCtrl* m_pToolTip = nullptr;  // owned; made by OnInitDialog

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    MessageMap GetMessageMap() const override;

    // Button and field notifications, handed to the rules.
    void OnFirst() { CEditRules::OnFirst(); }
    void OnPrev() { CEditRules::OnPrev(); }
    void OnNext() { CEditRules::OnNext(); }
    void OnLast() { CEditRules::OnLast(); }
    void OnNew() { CEditRules::OnNew(); }
    void OnDelete() { CEditRules::OnDelete(); }
    void OnFieldChange() { CEditRules::OnFieldChange(); }

    void ExchangeToControls() override;
    void ExchangeFromControls() override;
    bool ConfirmDelete(const std::string& text) override;

private:
    void FillLists();
    void CreateToolTips();
};
