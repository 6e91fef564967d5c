# The web build's program and site: build-web/ holds index.html, vesk.js,
# vesk.wasm and vesk.data (Data/), the favicon, the app's manifest, icons and
# offline worker, the licences, and vesk-web-<version>.zip of all of it for
# any web host.
set_target_properties(vesk PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}")
target_link_options(vesk PRIVATE
  # The main loop stays a loop: once a frame it awaits the page's next frame
  # (browser::EndFrame), never through a function pointer or virtual call.
  -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT=1
  # The page calls main itself, through ccall, whose promise gives main's
  # return once the loop has ended: the ended page, or the start's one line
  # (a main that has waited returns to nobody otherwise).
  -sINVOKE_RUN=0 -sEXPORTED_RUNTIME_METHODS=ccall
  -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web
  "--preload-file=${PROJECT_SOURCE_DIR}/Data@/Data")
# A changed data file, icon, page or licence makes a new link, so a new site.
file(GLOB data_files "${PROJECT_SOURCE_DIR}/Data/*" "${PROJECT_SOURCE_DIR}/packaging/web/*")
set_property(TARGET vesk APPEND PROPERTY LINK_DEPENDS ${data_files}
  "${CMAKE_CURRENT_LIST_DIR}/index.html" "${CMAKE_CURRENT_LIST_DIR}/HOSTING.txt"
  "${CMAKE_CURRENT_LIST_DIR}/manifest.webmanifest" "${CMAKE_CURRENT_LIST_DIR}/sw.js"
  "${CMAKE_CURRENT_LIST_DIR}/MakeSite.cmake")

add_custom_command(TARGET vesk POST_BUILD
  COMMAND ${CMAKE_COMMAND}
          -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSITE_DIR=${PROJECT_BINARY_DIR}
          -DVERSION=${PROJECT_VERSION} -DFREETYPE_PREFIX=${VESK_FREETYPE_PREFIX}
          -P ${CMAKE_CURRENT_LIST_DIR}/MakeSite.cmake
  VERBATIM)
