# What a Windows user gets, in one folder (the content of the installer and of the zip made by
# scripts/package-windows): the two programs, Qt's DLLs and the plugins they load, the
# compiler's run-time DLLs (one C++ run-time for the programs and Qt), and the licences.
# OMBRELIS_MINGW_RUNTIME_DLLS comes from the mingw-w64 toolchain file, OMBRELIS_QT_WINDOWS_PREFIX
# from cmake/QtForWindows.cmake; a build on Windows itself has neither (windeployqt's part).

if(OMBRELIS_MINGW_RUNTIME_DLLS)
  install(FILES ${OMBRELIS_MINGW_RUNTIME_DLLS} DESTINATION .)
endif()
if(NOT TARGET ombrelis)
  # The Qt-free build: the log tool alone.
  install(TARGETS ombrelis-log RUNTIME DESTINATION .)
  return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets)
install(TARGETS ombrelis ombrelis-log RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
# Qt looks for its plugins in these folders beside the program. The log tool's picture is
# drawn through the Windows platform as well (tools/ombrelis-log).
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES ${OMBRELIS_FACES_LICENCE} DESTINATION licences RENAME polices-liberation.txt)
if(NOT OMBRELIS_QT_WINDOWS_PREFIX)
  return()
endif()

# The licences, with where Qt's exact source is: Qt is LGPL-3, so a user may rebuild it from
# that source with the script that built it here, and put their own DLLs in its place.
set(qt_notes ${OMBRELIS_QT_WINDOWS_PREFIX}/share/ombrelis)
file(STRINGS ${qt_notes}/source-package OMBRELIS_QT_SOURCE_PACKAGE LIMIT_COUNT 1)
file(GLOB qt_source_description ${qt_notes}/*.dsc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/LICENCES.txt.in
               ${CMAKE_CURRENT_BINARY_DIR}/LICENCES.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LICENCES.txt DESTINATION .)
install(FILES ${qt_notes}/LGPL-3.0-only.txt ${qt_notes}/GPL-3.0-only.txt
              ${qt_notes}/build-qt-windows ${qt_source_description}
        DESTINATION licences/qt)
install(FILES ${qt_notes}/debian-copyright DESTINATION licences/qt RENAME copyright.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences
        RENAME runtime-gcc.txt)
install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licences
        RENAME runtime-mingw-w64.txt)
