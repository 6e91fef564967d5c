# Run after each link (Site.cmake): the page, with the build's digest in every
# URL it loads so that a browser never pairs a new page with an old cached
# file, the favicon, the app's manifest, icons and worker, the licences and
# the host's note, then the zip.
set(build "")
foreach(part vesk.js vesk.wasm vesk.data)
  file(SHA256 "${SITE_DIR}/${part}" digest)
  string(APPEND build "${digest}")
endforeach()
string(SHA256 build "${build}")
string(SUBSTRING "${build}" 0 12 VESK_BUILD)
configure_file("${CMAKE_CURRENT_LIST_DIR}/index.html" "${SITE_DIR}/index.html" @ONLY)
# What installs the page as an app and keeps it offline: the manifest and its
# icons, and the worker, whose cache is named by the same digest.
configure_file("${CMAKE_CURRENT_LIST_DIR}/manifest.webmanifest" "${SITE_DIR}/manifest.webmanifest" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/sw.js" "${SITE_DIR}/sw.js" @ONLY)
set(icons vesk-192.png vesk-512.png vesk-maskable-512.png)
foreach(icon ${icons})
  configure_file("${SOURCE_DIR}/packaging/web/${icon}" "${SITE_DIR}/${icon}" COPYONLY)
endforeach()

configure_file("${SOURCE_DIR}/packaging/icons/32x32/apps/vesk.png" "${SITE_DIR}/favicon.png" COPYONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/HOSTING.txt" "${SITE_DIR}/HOSTING.txt" COPYONLY)
configure_file("${SOURCE_DIR}/LICENSE" "${SITE_DIR}/LICENSE.txt" COPYONLY)
configure_file("${SOURCE_DIR}/Data/36DAYSAG.LICENSE" "${SITE_DIR}/FONT-LICENSE.txt" COPYONLY)
configure_file("${FREETYPE_PREFIX}/LICENSE.TXT" "${SITE_DIR}/FREETYPE-LICENSE.txt" COPYONLY)
configure_file("${FREETYPE_PREFIX}/FTL.TXT" "${SITE_DIR}/FREETYPE-FTL.txt" COPYONLY)

set(site index.html vesk.js vesk.wasm vesk.data favicon.png manifest.webmanifest sw.js ${icons} HOSTING.txt
         LICENSE.txt FONT-LICENSE.txt FREETYPE-LICENSE.txt FREETYPE-FTL.txt)
file(REMOVE "${SITE_DIR}/vesk-web-${VERSION}.zip")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "vesk-web-${VERSION}.zip" --format=zip ${site}
                WORKING_DIRECTORY "${SITE_DIR}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write vesk-web-${VERSION}.zip")
endif()
