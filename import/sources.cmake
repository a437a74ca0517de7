# Sources of import/ (see the top CMakeLists.txt for the lists): the readers
# of other programs' contacts and calendars and the merge, portable.
list(APPEND CORE_SOURCES
  import/BirthdayOrHoliday.cpp
  import/Entry.cpp
  import/ICalendarReader.cpp
  import/Merge.cpp
  import/ReadInput.cpp
  import/Rule.cpp
  import/Series.cpp
  import/SkipReason.cpp
  import/TimeZones.cpp
  import/VCardReader.cpp
  import/WholeDays.cpp)
