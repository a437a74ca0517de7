// The record editor dialog: pages through the records and edits them in place.
#pragma once

#include "editor/EditRules.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CEditDlg : public CDialog, public CEditRules {
public:
    explicit CEditDlg(CWnd* parent = nullptr);
    ~CEditDlg() override;

protected:
    void ExchangeToControls() override {}
    void ExchangeFromControls() override {}
    bool ConfirmDelete(const std::string&) override { return false; }
};
