# Sources of about/ (see the top CMakeLists.txt for the lists).
