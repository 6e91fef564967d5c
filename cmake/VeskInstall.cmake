# Installation of the game for players:
#   <prefix>/libexec/vesk/vesk            the program
#   <prefix>/share/vesk/Vesk.bmp, Data/   its icon and data (its working folder)
#   <prefix>/bin/vesk                     launcher: enters the data folder, runs the program
#   <prefix>/share/applications/vesk.desktop and hicolor icons, for desktop menus
# Paths stay relative inside the launcher, so `cmake --install --prefix`
# may choose another prefix than the one configured.
include(GNUInstallDirs)

set(VESK_DATA_DIR "${CMAKE_INSTALL_DATADIR}/vesk")
set(VESK_EXE_DIR "${CMAKE_INSTALL_LIBEXECDIR}/vesk")

install(TARGETS vesk RUNTIME DESTINATION "${VESK_EXE_DIR}")
install(FILES "${PROJECT_SOURCE_DIR}/Vesk.bmp" DESTINATION "${VESK_DATA_DIR}")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/Data/" DESTINATION "${VESK_DATA_DIR}/Data")

file(RELATIVE_PATH VESK_REL_DATA "/p/${CMAKE_INSTALL_BINDIR}" "/p/${VESK_DATA_DIR}")
file(RELATIVE_PATH VESK_REL_EXE "/p/${CMAKE_INSTALL_BINDIR}" "/p/${VESK_EXE_DIR}/vesk")
configure_file("${PROJECT_SOURCE_DIR}/packaging/vesk.in" "${PROJECT_BINARY_DIR}/packaging/vesk" @ONLY)
install(PROGRAMS "${PROJECT_BINARY_DIR}/packaging/vesk" DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(DIRECTORY "${PROJECT_SOURCE_DIR}/packaging/icons/"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")

# The desktop entry names the launcher by its full path, which is known
# only at install time (the prefix may be given to `cmake --install`).
install(CODE "
  set(launcher \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vesk\")
  file(READ \"${PROJECT_SOURCE_DIR}/packaging/vesk.desktop.in\" entry)
  string(REPLACE \"@VESK_LAUNCHER@\" \"\${launcher}\" entry \"\${entry}\")
  file(WRITE \"${PROJECT_BINARY_DIR}/packaging/vesk.desktop\" \"\${entry}\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
       TYPE FILE FILES \"${PROJECT_BINARY_DIR}/packaging/vesk.desktop\")
")
