# Sources of calendar/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES calendar/CurrentDate.cpp)
list(APPEND CORE_SOURCES calendar/DayReport.cpp)
list(APPEND CORE_SOURCES calendar/Easter.cpp)
list(APPEND CORE_SOURCES calendar/MovableHolidays.cpp)
