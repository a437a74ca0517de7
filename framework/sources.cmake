# Our small dialog framework over Win32 (Win32 build only).
# The code page conversion serves the core's file names too.
list(APPEND CORE_WIN_SOURCES framework/Text.cpp)
list(APPEND GUI_SOURCES
  framework/Wnd.cpp
  framework/Dialog.cpp
  framework/DataExchange.cpp
  framework/WinApp.cpp
  framework/Controls.cpp)
