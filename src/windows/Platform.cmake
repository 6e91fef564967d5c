# The libraries of the Windows build, cross-compiled by scripts/windows from
# Debian's source packages into VESK_WINDOWS_PREFIX: SDL and SDL_mixer as
# DLLs (a player can swap them, as their licence wants), FreeType, libpng and
# zlib linked in. SDL_image is not among those sources: IMG_Load comes from
# src/windows, on libpng. The targets take the desktop's pkg-config names, so
# every library links them the same way everywhere.
set(prefix "${VESK_WINDOWS_PREFIX}")
if(NOT EXISTS "${prefix}/lib/libSDL.dll.a")
  message(FATAL_ERROR "No Windows libraries under VESK_WINDOWS_PREFIX='${prefix}': build with scripts/windows")
endif()

# SDL's start-up code calls the program's main (SDL.h renames it SDL_main),
# reached through mingw's WinMain; the game is a windowed program.
add_library(PkgConfig::SDL_CORE INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::SDL_CORE PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include/SDL"
  INTERFACE_LINK_LIBRARIES "mingw32;${prefix}/lib/libSDLmain.a;${prefix}/lib/libSDL.dll.a"
  INTERFACE_LINK_OPTIONS "-mwindows")
add_library(PkgConfig::SDL INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::SDL PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR}/src/windows/include"
  INTERFACE_LINK_LIBRARIES "PkgConfig::SDL_CORE;${prefix}/lib/libSDL_mixer.dll.a;vesk_windows")
add_library(PkgConfig::GL INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::GL PROPERTIES INTERFACE_LINK_LIBRARIES opengl32)
add_library(PkgConfig::FREETYPE INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::FREETYPE PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include/freetype2"
  INTERFACE_LINK_LIBRARIES "${prefix}/lib/libfreetype.a;${prefix}/lib/libz.a")
add_library(PkgConfig::LIBPNG INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::LIBPNG PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include"
  INTERFACE_LINK_LIBRARIES "${prefix}/lib/libpng16.a;${prefix}/lib/libz.a")

# The programs carry their C and C++ runtimes and the threads library:
# beside SDL's two DLLs they need only what every Windows has.
add_link_options(-static)

# The tests are listed when CTest runs them under Wine, not while building.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
