# Sources of contentlines/ (see the top CMakeLists.txt for the lists): the
# text layer the import reads and the export writes through, portable.
list(APPEND CORE_SOURCES
  contentlines/ByteSource.cpp
  contentlines/ContentLine.cpp
  contentlines/ContentLineReader.cpp
  contentlines/Cp1250.cpp
  contentlines/Dates.cpp
  contentlines/Escapes.cpp
  contentlines/QuotedPrintable.cpp)
