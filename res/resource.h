// Resource ids of Tolvari, one prefix per kind. The numbers are fixed: the
// data exchange, the system menu and the tests rely on them. Control ids are
// reused across dialogs on purpose (1005 is Tomorrow in the main window and
// First in the editor); an id means something only with its dialog.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_TOLVARI_DIALOG 102
#define IDD_EDIT_DIALOG 135

// Strings
#define IDS_ABOUTBOX 101
#define IDS_EDITBOX 102

// Icons, bitmaps, cursors
#define IDR_MAINFRAME 128
#define IDC_LINK_HAND 131
#define IDB_LOGO 133

// System menu commands
#define IDM_ABOUTBOX 0x0010
// Not a multiple of 16 like the system's own commands: OnSysCommand matches
// it exactly, while About is matched with the low four bits masked.
#define IDM_EDITBOX 32771

// Main dialog controls
#define IDC_TODAY_DNES 1000
#define IDC_TODAY_CALENDAR 1001
#define IDC_TODAY_HOLIDAYS 1002
#define IDC_TODAY_BIRTHDAYS 1003
#define IDC_TODAY_YESTERDAY 1004
#define IDC_TODAY_TOMORROW 1005
#define IDC_TODAY_NEXTDAYS 1007

// Editor controls
#define IDC_EDIT_FIRST 1005
#define IDC_EDIT_PREV 1006
#define IDC_EDIT_NEXT 1007
#define IDC_EDIT_LAST 1008
#define IDC_EDIT_NEW 1009
#define IDC_EDIT_DELETE 1011
#define IDC_EDIT_DAY 1012
#define IDC_EDIT_POSITION 1013
#define IDC_EDIT_MONTH 1014
#define IDC_EDIT_YEAR 1015
#define IDC_EDIT_HOLIDAY 1016
#define IDC_EDIT_ANNIV 1017
#define IDC_EDIT_NAME 1018
#define IDC_EDIT_NOAGE 1019

// About box controls
#define IDC_ABOUT_WEB 1013
#define IDC_ABOUT_MAIL 1014

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
