# Sources of calendar/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES calendar/CurrentDate.cpp)
list(APPEND CORE_SOURCES calendar/DayReport.cpp)
