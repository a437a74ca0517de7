// The record editor dialog: pages through the records and edits them in
// place. The rules live in CEditRules; this class only moves the members to
// and from the controls and forwards the user's actions.
#pragma once

#include "editor/EditRules.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

// What the editor needs of the application: its language, and a place to
// register the open editor and its tooltips so that the application's message
// filter can relay mouse messages to them (nullptr, nullptr when it closes).
class CEditHost {
public:
    virtual int EditLanguage() const = 0;
    virtual void RegisterEditor(HWND editWnd, CToolTipCtrl* toolTip) = 0;

protected:
    ~CEditHost() = default;
};

class CEditDlg : public CDialog, public CEditRules {
public:
    explicit CEditDlg(CEditHost& host, CWnd* parent = nullptr);
    ~CEditDlg() override;

    CBitmapButton m_btnFirst, m_btnPrev, m_btnNext, m_btnLast, m_btnNew, m_btnDelete;
    CToolTipCtrl* m_pToolTip = nullptr;  // owned; made by OnInitDialog

protected:
    // The order of the lines is behaviour: an empty year stops the exchange
    // there, so the type and the no-age box after it are not taken over.
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
    CEditHost& m_host;
    void FillLists();
    void CreateToolTips();
};
