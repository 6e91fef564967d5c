# Installation for players, and the Debian package made from it
# (`cpack -G DEB` in the build folder).
#
# The layout is chosen when installing, from the prefix: into /usr (where the
# package installs) the game follows Debian's rules for games; into any other
# prefix (`cmake --install build --prefix ~/.local`) the usual layout, so the
# launcher lands on the PATH:
#
#   what                      prefix /usr            any other prefix
#   launcher, vesk-lab        games/                 bin/
#   the program               lib/games/vesk/vesk    libexec/vesk/vesk
#   Vesk.bmp and Data/        share/games/vesk/      share/vesk/
#
# Both share the rest: share/applications/vesk.desktop, the hicolor icons,
# share/metainfo/, the manual pages and share/doc/vesk/. The launcher finds
# the program and its data relative to its own place, so an installed tree
# still runs when moved or unpacked anywhere.
include(GNUInstallDirs)

# The AppStream id: the project owns no domain, so it takes the reserved
# example.org (as the maintainer's address does) rather than someone's.
set(VESK_APPSTREAM_ID org.example.vesk)
# The screenshots (docs/menu.png, docs/game.png) must be on a web server for
# software centres; the project has none yet, so the default names the same
# reserved domain. Give the real place here once there is one.
set(VESK_SCREENSHOT_BASE_URL "https://example.org/vesk/docs" CACHE STRING
    "Web folder that holds docs/menu.png and docs/game.png")
# Shown in the manual pages; the changelog and the AppStream file keep their
# own dated history.
set(VESK_RELEASE_DATE 2026-12-07)
set(VESK_CONTACT "Vesk developers <vesk@example.org>")

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(VESK_BIN_DIR games)
    set(VESK_EXE_DIR lib/games/vesk)
    set(VESK_DATA_DIR share/games/vesk)
  else()
    set(VESK_BIN_DIR \"${CMAKE_INSTALL_BINDIR}\")
    set(VESK_EXE_DIR \"${CMAKE_INSTALL_LIBEXECDIR}/vesk\")
    set(VESK_DATA_DIR \"${CMAKE_INSTALL_DATADIR}/vesk\")
  endif()
")
install(TARGETS vesk RUNTIME DESTINATION "\${VESK_EXE_DIR}")
install(TARGETS vesk-lab RUNTIME DESTINATION "\${VESK_BIN_DIR}")
# A stripping install (the package's) strips as Debian's tools do: the
# compilers' notes in .comment go too.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${VESK_EXE_DIR}/vesk\"
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${VESK_BIN_DIR}/vesk-lab\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
")
install(FILES "${PROJECT_SOURCE_DIR}/Vesk.bmp" DESTINATION "\${VESK_DATA_DIR}")
# The font is Routed Gothic Narrow from Debian's fonts-routed-gothic, byte for
# byte: the package (prefix /usr) depends on that package and links to its
# file; an install elsewhere takes the copy.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/Data/" DESTINATION "\${VESK_DATA_DIR}/Data"
        PATTERN 36DAYSAG.TTF EXCLUDE)
install(CODE "
  set(data \"\${CMAKE_INSTALL_PREFIX}/\${VESK_DATA_DIR}/Data\")
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    file(CREATE_LINK ../../../fonts/truetype/routed-gothic/routed-gothic-narrow.ttf
         \"\$ENV{DESTDIR}\${data}/36DAYSAG.TTF\" SYMBOLIC)
  else()
    file(INSTALL \"${PROJECT_SOURCE_DIR}/Data/36DAYSAG.TTF\" DESTINATION \"\${data}\")
  endif()
")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/packaging/icons/"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/vesk")

# The files that depend on the layout or the version are made while
# installing, each install in a folder of its own (two may run at once).
install(CODE "
  set(source \"${PROJECT_SOURCE_DIR}/packaging\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  set(VESK_RELEASE_DATE \"${VESK_RELEASE_DATE}\")
  set(VESK_APPSTREAM_ID \"${VESK_APPSTREAM_ID}\")
  set(VESK_SCREENSHOT_BASE_URL \"${VESK_SCREENSHOT_BASE_URL}\")
  set(datadir \"${CMAKE_INSTALL_DATADIR}\")
  set(mandir \"${CMAKE_INSTALL_MANDIR}\")
  string(MD5 key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(made \"${PROJECT_BINARY_DIR}/packaging/\${key}\")
  file(REMOVE_RECURSE \"\${made}\")
")
install(CODE [[
  file(RELATIVE_PATH VESK_REL_DATA "/p/${VESK_BIN_DIR}" "/p/${VESK_DATA_DIR}")
  file(RELATIVE_PATH VESK_REL_EXE "/p/${VESK_BIN_DIR}" "/p/${VESK_EXE_DIR}/vesk")
  set(VESK_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${VESK_BIN_DIR}/vesk")
  foreach(pair "vesk.in:vesk" "vesk.desktop.in:vesk.desktop" "vesk.6.in:vesk.6"
               "vesk-lab.6.in:vesk-lab.6"
               "vesk.metainfo.xml.in:${VESK_APPSTREAM_ID}.metainfo.xml")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    file(READ "${source}/${from}" text)
    string(CONFIGURE "${text}" text @ONLY)
    file(WRITE "${made}/${to}" "${text}")
  endforeach()
  file(COPY "${source}/changelog" DESTINATION "${made}")
  # Compressed as Debian wants: best ratio, no name or time stamp inside.
  execute_process(COMMAND gzip -9n "${made}/vesk.6" "${made}/vesk-lab.6" "${made}/changelog"
                  COMMAND_ERROR_IS_FATAL ANY)

  file(INSTALL "${made}/vesk" DESTINATION "${CMAKE_INSTALL_PREFIX}/${VESK_BIN_DIR}"
       TYPE PROGRAM)
  file(INSTALL "${made}/vesk.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/${datadir}/applications"
       TYPE FILE)
  file(INSTALL "${made}/${VESK_APPSTREAM_ID}.metainfo.xml"
       DESTINATION "${CMAKE_INSTALL_PREFIX}/${datadir}/metainfo" TYPE FILE)
  file(INSTALL "${made}/vesk.6.gz" "${made}/vesk-lab.6.gz"
       DESTINATION "${CMAKE_INSTALL_PREFIX}/${mandir}/man6" TYPE FILE)
  file(INSTALL "${made}/changelog.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${datadir}/doc/vesk"
       TYPE FILE)
  file(REMOVE_RECURSE "${made}")
]])

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VENDOR "The Vesk developers")
set(CPACK_PACKAGE_CONTACT "${VESK_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based board game of stacked tokens on a hexagon")
set(CPACK_PACKAGE_DESCRIPTION "\
Vesk is a board game for one player against the computer, on a hexagon of
19 cells. Each side starts with 19 tokens in hand; on its turn it places
more tokens on a cell than the cell holds, sending the tokens that lay there
back to their owner, or passes. A score is the tokens still in hand plus 4
for every triangle of three touching cells owned. The game is played with
the mouse, against a computer opponent of four strengths.

The package also holds vesk-lab, which plays against, studies and measures
the opponent on the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-routed-gothic)   # the font (above)
# Debugging information stays in the build tree, not in the package.
set(CPACK_STRIP_FILES ON)
include(CPack)
