# Installation in the standard places, and the Debian package (cpack -G DEB).
# The window program comes from app/; both rules tolerate its absence (OMBRELIS_BUILD_UI=OFF).
# On Windows: one folder with everything the programs need (cmake/InstallWindows.cmake).

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/InstallWindows.cmake)
  return()
endif()

if(TARGET ombrelis)
  install(TARGETS ombrelis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/ombrelis.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/ombrelis.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The faces built into the program come with their licence.
  install(FILES ${OMBRELIS_FACES_LICENCE} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ombrelis
          RENAME copyright.liberation-fonts)
  # Shipped disabled: the administrator copies it to /etc/security/limits.d (README).
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/ombrelis-realtime.conf
          DESTINATION ${CMAKE_INSTALL_DATADIR}/ombrelis)
endif()
if(TARGET ombrelis-log)
  install(TARGETS ombrelis-log RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(CPACK_PACKAGE_NAME ombrelis)
set(CPACK_PACKAGE_VENDOR "Ombrelis")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "data logger for a MAX187 converter on the parallel port, with a live strip chart")
set(CPACK_PACKAGE_DESCRIPTION
    "Ombrelis samples a 12-bit MAX187 analogue-to-digital converter wired to the PC's parallel
port (or a built-in simulated source) at a chosen period, writes every sample as a 14-byte
record to a log file and draws it live on a sweeping strip chart. Its window is in French.
.
The package also holds ombrelis-log, which checks a log file, converts it to CSV and draws
the whole run as a PNG picture.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ombrelis developers <ombrelis@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps on the built programs. Qt loads its platform
# plugins (xcb, wayland, offscreen) at run time, so no library scan can see them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
include(CPack)
