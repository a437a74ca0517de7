# Sources of calendar/ (see the top CMakeLists.txt for the lists).
