# Sources of editor/ (see the top CMakeLists.txt for the lists).
list(APPEND CORE_SOURCES editor/EditRules.cpp)
list(APPEND GUI_SOURCES editor/EditDlg.cpp)
