# Run by the build (Program.cmake): the Vesk/ folder staged under
# OUT_DIR/package, then the zip and the installer made from it. Both are the
# same bytes for the same sources: every file gets SOURCE_DATE_EPOCH as its
# time and fixed permissions, the zip lists its files in a fixed order
# without the extra fields that hold owners and access times, the programs
# have no time stamp (Toolchain.cmake) and the installer stores no file times.
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch)
  set(epoch 315532800)   # 1980-01-01, the first time a zip can hold
endif()
set(stage "${OUT_DIR}/package/Vesk")
file(REMOVE_RECURSE "${OUT_DIR}/package")
file(MAKE_DIRECTORY "${stage}/Data")

# The programs and SDL's two DLLs, without their symbols.
string(REPLACE "," ";" programs "${PROGRAMS}")
foreach(binary ${programs} "${PREFIX}/bin/SDL.dll" "${PREFIX}/bin/SDL_mixer.dll")
  get_filename_component(name "${binary}" NAME)
  execute_process(COMMAND "${STRIP}" -o "${stage}/${name}" "${binary}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${binary}")
  endif()
endforeach()
file(GLOB data "${SOURCE_DIR}/Data/*")
file(COPY ${data} DESTINATION "${stage}/Data")
file(COPY "${SOURCE_DIR}/Vesk.bmp" DESTINATION "${stage}")
configure_file("${SOURCE_DIR}/LICENSE" "${stage}/LICENSE.txt" COPYONLY)
configure_file("${SOURCE_DIR}/Data/36DAYSAG.LICENSE" "${stage}/FONT-LICENSE.txt" COPYONLY)
file(GLOB licences "${PREFIX}/licences/*")
file(COPY ${licences} DESTINATION "${stage}")
# README.txt names the libraries' versions, which scripts/windows recorded.
file(STRINGS "${PREFIX}/VERSIONS" versions)
list(JOIN versions "\n  " LIBRARY_VERSIONS)
configure_file("${SOURCE_DIR}/src/windows/README.txt" "${stage}/README.txt" @ONLY NEWLINE_STYLE CRLF)

# Every file and folder in a fixed order, with fixed permissions and time;
# the installer's lines for each, and the uninstaller's in reverse.
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${OUT_DIR}/package" "${stage}/*")
list(SORT entries)
set(listing "Vesk\n")
set(install "")
set(uninstall "")
foreach(entry ${entries})
  string(APPEND listing "${entry}\n")
  # Its place in the installed folder, as "\Data\x.png".
  string(REGEX REPLACE "^Vesk" "" place "${entry}")
  string(REPLACE "/" "\\" place "${place}")
  if(IS_DIRECTORY "${OUT_DIR}/package/${entry}")
    file(CHMOD "${OUT_DIR}/package/${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    string(APPEND install "CreateDirectory \"$INSTDIR${place}\"\n")
    string(PREPEND uninstall "RMDir \"$INSTDIR${place}\"\n")
  else()
    file(CHMOD "${OUT_DIR}/package/${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    get_filename_component(folder "${place}" DIRECTORY)
    string(REPLACE "/" "\\" folder "${folder}")
    string(APPEND install "SetOutPath \"$INSTDIR${folder}\"\nFile \"${OUT_DIR}/package/${entry}\"\n")
    string(PREPEND uninstall "Delete \"$INSTDIR${place}\"\n")
  endif()
endforeach()
execute_process(COMMAND touch -d "@${epoch}" Vesk ${entries} WORKING_DIRECTORY "${OUT_DIR}/package")
file(WRITE "${OUT_DIR}/package/zip-list.txt" "${listing}")

set(zip "${OUT_DIR}/vesk-${VERSION}-windows-x64.zip")
file(REMOVE "${zip}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -q "${zip}" -@
                INPUT_FILE "${OUT_DIR}/package/zip-list.txt" WORKING_DIRECTORY "${OUT_DIR}/package"
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${zip}")
endif()

file(WRITE "${OUT_DIR}/package/install.nsh" "${install}")
file(WRITE "${OUT_DIR}/package/uninstall.nsh" "${uninstall}")
set(setup "${OUT_DIR}/vesk-${VERSION}-setup.exe")
execute_process(COMMAND "${MAKENSIS}" -V2 -NOCD "-DVERSION=${VERSION}" "-DPACKAGE=${OUT_DIR}/package"
                        "-DICON=${ICON}" "-DOUTFILE=${setup}" "${SOURCE_DIR}/src/windows/Vesk.nsi"
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${setup}")
endif()
