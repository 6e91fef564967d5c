# Run after each link (Site.cmake): the page, with the build's digest in every
# URL it loads so that a browser never pairs a new page with an old cached
# file, the favicon, the licences and the host's note, then the zip.
set(build "")
foreach(part vesk.js vesk.wasm vesk.data)
  file(SHA256 "${SITE_DIR}/${part}" digest)
  string(APPEND build "${digest}")
endforeach()
string(SHA256 build "${build}")
string(SUBSTRING "${build}" 0 12 VESK_BUILD)
configure_file("${CMAKE_CURRENT_LIST_DIR}/index.html" "${SITE_DIR}/index.html" @ONLY)

configure_file("${SOURCE_DIR}/packaging/icons/32x32/apps/vesk.png" "${SITE_DIR}/favicon.png" COPYONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/HOSTING.txt" "${SITE_DIR}/HOSTING.txt" COPYONLY)
configure_file("${SOURCE_DIR}/LICENSE" "${SITE_DIR}/LICENSE.txt" COPYONLY)
configure_file("${SOURCE_DIR}/Data/36DAYSAG.LICENSE" "${SITE_DIR}/FONT-LICENSE.txt" COPYONLY)
configure_file("${FREETYPE_PREFIX}/LICENSE.TXT" "${SITE_DIR}/FREETYPE-LICENSE.txt" COPYONLY)
configure_file("${FREETYPE_PREFIX}/FTL.TXT" "${SITE_DIR}/FREETYPE-FTL.txt" COPYONLY)

set(site index.html vesk.js vesk.wasm vesk.data favicon.png HOSTING.txt
         LICENSE.txt FONT-LICENSE.txt FREETYPE-LICENSE.txt FREETYPE-FTL.txt)
file(REMOVE "${SITE_DIR}/vesk-web-${VERSION}.zip")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "vesk-web-${VERSION}.zip" --format=zip ${site}
                WORKING_DIRECTORY "${SITE_DIR}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write vesk-web-${VERSION}.zip")
endif()
