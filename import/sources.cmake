# Sources of import/ (see the top CMakeLists.txt for the lists): the
# portable reading and merging in the core, one entry point per platform.
list(APPEND CORE_SOURCES
  import/Cp1250.cpp
  import/ContentLines.cpp
  import/VCard.cpp
  import/ICalendar.cpp
  import/Import.cpp
  import/Calendars.cpp)
set(IMPORT_MAIN_POSIX import/ImportMain_posix.cpp)
set(IMPORT_MAIN_WIN import/ImportMain_win.cpp)
