# Sources of running/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES running/RunningMark.cpp)
list(APPEND CORE_POSIX_SOURCES running/RunningMark_posix.cpp)
list(APPEND CORE_WIN_SOURCES running/RunningMark_win.cpp)
