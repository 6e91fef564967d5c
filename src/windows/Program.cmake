# The Windows program's icon and version, and what is shipped: the zip
# (vesk-<version>-windows-x64.zip, a Vesk/ folder) and the installer
# (vesk-<version>-setup.exe), both in the build folder, remade when the
# programs, the data or these files change.
enable_language(RC)
set(windows_dir ${PROJECT_SOURCE_DIR}/src/windows)
set(icons ${PROJECT_SOURCE_DIR}/packaging/icons)

# The generated icons, one picture per size, the largest kept as PNG as Windows wants.
set(icon_sizes 16 24 32 48 64 128)
list(TRANSFORM icon_sizes REPLACE "(.+)" "${icons}/\\1x\\1/apps/vesk.png" OUTPUT_VARIABLE icon_files)
add_custom_command(OUTPUT vesk.ico
  COMMAND icotool -c -o vesk.ico ${icon_files} --raw=${icons}/256x256/apps/vesk.png
  DEPENDS ${icon_files} ${icons}/256x256/apps/vesk.png VERBATIM)
string(REPLACE "." "," VESK_VERSION_COMMAS "${PROJECT_VERSION}.0.0")
configure_file(${windows_dir}/vesk.rc.in vesk.rc @ONLY)
target_sources(vesk PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/vesk.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/vesk.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/vesk.ico)

find_program(VESK_MAKENSIS makensis REQUIRED)
file(GLOB data_files ${PROJECT_SOURCE_DIR}/Data/*)
set(zip ${PROJECT_BINARY_DIR}/vesk-${PROJECT_VERSION}-windows-x64.zip)
set(setup ${PROJECT_BINARY_DIR}/vesk-${PROJECT_VERSION}-setup.exe)
add_custom_command(OUTPUT ${zip} ${setup}
  COMMAND ${CMAKE_COMMAND}
          -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUT_DIR=${PROJECT_BINARY_DIR} -DVERSION=${PROJECT_VERSION}
          -DPREFIX=${VESK_WINDOWS_PREFIX} -DSTRIP=${CMAKE_STRIP} -DMAKENSIS=${VESK_MAKENSIS}
          -DICON=${CMAKE_CURRENT_BINARY_DIR}/vesk.ico
          -DPROGRAMS=$<TARGET_FILE:vesk>,$<TARGET_FILE:vesk-lab>
          -P ${windows_dir}/MakePackage.cmake
  DEPENDS vesk vesk-lab ${data_files} ${PROJECT_SOURCE_DIR}/Vesk.bmp ${windows_dir}/MakePackage.cmake
          ${windows_dir}/Vesk.nsi ${windows_dir}/README.txt ${VESK_WINDOWS_PREFIX}/VERSIONS
  VERBATIM)
add_custom_target(vesk_windows_package ALL DEPENDS ${zip} ${setup})
