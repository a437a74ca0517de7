# Sources of records/ (see the top CMakeLists.txt for the lists).
