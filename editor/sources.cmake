# Sources of editor/ (see the top CMakeLists.txt for the lists).
