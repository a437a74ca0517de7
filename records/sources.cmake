# Sources of records/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES records/Atoi.cpp)
list(APPEND CORE_SOURCES records/DataFile.cpp)
# The seam of records/Faults.h where nothing fails; test builds link their own.
list(APPEND CORE_SOURCES records/Faults.cpp)
list(APPEND CORE_SOURCES records/FileSystem.cpp)
list(APPEND CORE_SOURCES records/RecordList.cpp)
list(APPEND CORE_POSIX_SOURCES records/FileSystem_posix.cpp)
list(APPEND CORE_WIN_SOURCES records/FileSystem_win.cpp records/FileInfo_win.cpp)
# Code page 1250 <-> UTF-16 for file names and, above, the controls.
list(APPEND CORE_WIN_SOURCES records/Text_win.cpp)
