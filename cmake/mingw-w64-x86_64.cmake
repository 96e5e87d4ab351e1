# Cross-compilation for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# The posix thread model is needed for std::thread and std::mutex; the win32 one lacks them.
# Programs use the compiler's run-time DLLs (libstdc++, libgcc_s, libwinpthread), as Qt's DLLs
# do: one C++ run-time in the process, shipped beside the program. Tests run under Wine through
# wine-run.sh, which keeps a Wine prefix of its own in the build folder and finds those DLLs
# where the compiler has them.
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

# The folders of the run-time DLLs, for Wine's search path and for the installation.
set(OMBRELIS_MINGW_RUNTIME_DLLS "")
set(dirs "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(path "${path}" REALPATH)
  list(APPEND OMBRELIS_MINGW_RUNTIME_DLLS "${path}")
  get_filename_component(dir "${path}" DIRECTORY)
  list(APPEND dirs "${dir}")
endforeach()
list(REMOVE_DUPLICATES dirs)
list(TRANSFORM dirs PREPEND "--dlls;")

set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix;${dirs}")
