# Sources of app/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES app/Settings.cpp)
list(APPEND CORE_SOURCES app/TodayCore.cpp)
list(APPEND GUI_SOURCES
  app/ReminderApp.cpp
  app/TodayDlg.cpp)
