# Sources of export/ (see the top CMakeLists.txt for the lists): the data
# file's entries as an iCalendar file, portable; run by the import program.
list(APPEND CORE_SOURCES export/Export.cpp)
list(APPEND CORE_SOURCES export/ExportWords.cpp)
