# Sources of tool/ (see the top CMakeLists.txt for the lists): the import
# program's command line and its two runs, portable, in the core so that the
# unit tests reach them; one entry point per platform.
list(APPEND CORE_SOURCES
  tool/Calendars.cpp
  tool/DataFileCheck.cpp
  tool/DataFileChoice.cpp
  tool/Options.cpp
  tool/RunExport.cpp
  tool/RunImport.cpp)
set(IMPORT_MAIN_POSIX tool/ImportMain_posix.cpp)
set(IMPORT_MAIN_WIN tool/ImportMain_win.cpp)
