# Cross-compilation for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# The posix thread model is needed for std::thread and std::mutex; the win32 one lacks them.
# Programs are linked statically, so that they run under Wine, or are copied to a Windows
# machine, without the compiler's run-time DLLs beside them. Tests run under Wine through
# wine-run.sh, which keeps a Wine prefix of its own in the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OMBRELIS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER ${OMBRELIS_MINGW_PREFIX}-g++-posix)
set(CMAKE_C_COMPILER ${OMBRELIS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_RC_COMPILER ${OMBRELIS_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OMBRELIS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix")
