# Cross build for Windows with Debian's mingw-w64 toolchain, win32 thread
# model: the posix one links winpthreads, which imports functions Windows XP
# lacks (GetTickCount64). The test driver asks for the posix one
# (TOLVARI_MINGW_THREADS). The including file sets TOOLCHAIN_PREFIX.
set(TOLVARI_MINGW_THREADS win32 CACHE STRING "Thread model of the mingw-w64 compilers: win32 or posix")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-${TOLVARI_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-${TOLVARI_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
