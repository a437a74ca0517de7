// The main dialog: the report of the displayed day, Yesterday and Tomorrow,
// and the system-menu commands.
#pragma once

#include <ctime>

#include "app/TodayCore.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CTodayDlg : public CDialog, public CTodayCore {
public:
    explicit CTodayDlg(CWnd* parent = nullptr);

    HICON m_hIcon;
    std::time_t m_timeNow = 0;
    CFont m_font1;
    CFont m_font2;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    MessageMap GetMessageMap() const override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnYesterday();
    void OnTomorrow();

    // The core's effects on the user.
    void ShowError(const std::string& text) override;
    void RequestQuit() override;
    void ShowReport() override;

private:
    void RunEditor();
    int ScreenDpi() const;
    void CreateReportFont(CFont& font, const std::string& face, const std::string& style, const std::string& size,
                          int dpi);
};
