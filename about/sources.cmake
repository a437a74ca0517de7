# Sources of about/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES about/LinkRules.cpp)
list(APPEND GUI_SOURCES
  about/StaticLink.cpp
  about/AboutDlg.cpp)
