# Sources of framework/ (see the top CMakeLists.txt for the lists).
