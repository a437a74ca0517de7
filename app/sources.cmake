# Sources of app/ (see the top CMakeLists.txt for the lists).
