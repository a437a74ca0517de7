# Our small dialog framework over Win32 (Win32 build only).
list(APPEND GUI_SOURCES
  framework/Wnd.cpp
  framework/Dialog.cpp
  framework/DataExchange.cpp
  framework/WinApp.cpp
  framework/Controls.cpp)
