# The faces the window is drawn in and Qt's French texts, built into the program as Qt
# resources. They are taken at build time from the Debian packages that hold them, so the
# program needs neither package when it runs, and the window looks the same whatever faces
# and translations a machine has.

# Finds `name` in the given folders, or stops the configuration naming the package to install.
# The host's files are meant even in a cross build, hence no find root.
function(ombrelis_find_packaged_file var name package)
  find_file(${var} ${name} PATHS ${ARGN} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ${var})
    list(JOIN ARGN ", " folders)
    message(FATAL_ERROR
      "${name} was not found (looked in ${folders}). It comes from the Debian package "
      "${package}: install it (scripts/deps.sh does), or give its path in -D${var}=...")
  endif()
endfunction()

set(OMBRELIS_FACES_DIR /usr/share/fonts/truetype/liberation2
    CACHE PATH "Folder of the Liberation faces built into the program")

# Liberation Sans stands in for the design's "MS Sans Serif", Liberation Serif bold for its
# "Times New Roman" bold. Their licence (SIL Open Font License) travels with them.
ombrelis_find_packaged_file(OMBRELIS_FACE_SANS LiberationSans-Regular.ttf fonts-liberation2
                            ${OMBRELIS_FACES_DIR})
ombrelis_find_packaged_file(OMBRELIS_FACE_SANS_BOLD LiberationSans-Bold.ttf fonts-liberation2
                            ${OMBRELIS_FACES_DIR})
ombrelis_find_packaged_file(OMBRELIS_FACE_SERIF_BOLD LiberationSerif-Bold.ttf fonts-liberation2
                            ${OMBRELIS_FACES_DIR})
ombrelis_find_packaged_file(OMBRELIS_FACES_LICENCE copyright fonts-liberation2
                            /usr/share/doc/fonts-liberation2)
ombrelis_find_packaged_file(OMBRELIS_QT_FRENCH qtbase_fr.qm qt6-translations-l10n
                            ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}
                            /usr/share/qt6/translations)

# Embeds the files into `target` under :/ombrelis/, in the resource ombrelis_shipped: a
# static library's resources must be initialised by name (Q_INIT_RESOURCE) before use.
function(ombrelis_embed_shipped_resources target)
  set(entries "")
  foreach(pair
      "faces/LiberationSans-Regular.ttf=${OMBRELIS_FACE_SANS}"
      "faces/LiberationSans-Bold.ttf=${OMBRELIS_FACE_SANS_BOLD}"
      "faces/LiberationSerif-Bold.ttf=${OMBRELIS_FACE_SERIF_BOLD}"
      "faces/LICENCE=${OMBRELIS_FACES_LICENCE}"
      "translations/qtbase_fr.qm=${OMBRELIS_QT_FRENCH}")
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 alias)
    list(GET pair 1 file)
    string(APPEND entries "    <file alias=\"${alias}\">${file}</file>\n")
  endforeach()
  set(qrc ${CMAKE_CURRENT_BINARY_DIR}/ombrelis_shipped.qrc)
  file(CONFIGURE OUTPUT ${qrc} CONTENT
       "<RCC>\n  <qresource prefix=\"/ombrelis\">\n${entries}  </qresource>\n</RCC>\n")
  qt_add_resources(sources ${qrc})
  target_sources(${target} PRIVATE ${sources})
endfunction()
