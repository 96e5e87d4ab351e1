# The Windows build's Qt: built from Debian's qt6-base source by scripts/build-qt-windows into a
# cache outside the source tree (a half-hour build, done once per machine). Its host tools are
# the host's own moc, rcc and uic, of the same version. Tests and the built programs run under
# Wine with Qt's DLLs and the compiler's run-time DLLs found through wine-run.sh.

if(NOT OMBRELIS_QT_WINDOWS_PREFIX)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/build-qt-windows --prefix
                  OUTPUT_VARIABLE prefix OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "scripts/build-qt-windows --prefix could not name Qt's folder")
  endif()
  set(OMBRELIS_QT_WINDOWS_PREFIX ${prefix} CACHE PATH "Qt built for Windows (build-qt-windows)")
endif()
if(NOT EXISTS ${OMBRELIS_QT_WINDOWS_PREFIX}/.ombrelis-complete)
  message(FATAL_ERROR
    "Qt for Windows is not built in ${OMBRELIS_QT_WINDOWS_PREFIX}: run scripts/build-qt-windows "
    "first (about 30 minutes on two cores, once per machine), or build without the window "
    "(-DOMBRELIS_BUILD_UI=OFF).")
endif()

set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, whose tools serve the cross build")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
list(APPEND CMAKE_PREFIX_PATH ${OMBRELIS_QT_WINDOWS_PREFIX})
list(APPEND CMAKE_FIND_ROOT_PATH ${OMBRELIS_QT_WINDOWS_PREFIX})
list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --dlls ${OMBRELIS_QT_WINDOWS_PREFIX}/bin)
# Here, so that Qt's targets are seen by the installation rules as well as by ui/ and tools/.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
