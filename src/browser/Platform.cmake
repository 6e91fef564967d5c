# The libraries of the web build. emscripten brings its own SDL 1.2, SDL_image
# and SDL_mixer (JavaScript on the page's canvas and Web Audio) and OpenGL 1.1
# emulated on WebGL 1; FreeType is built for wasm from Debian's source package
# by scripts/web. The targets take the desktop's pkg-config names, so every
# library links them the same way on both.
set(VESK_FREETYPE_PREFIX "" CACHE PATH "FreeType built for wasm (scripts/web)")
if(NOT EXISTS "${VESK_FREETYPE_PREFIX}/lib/libfreetype.a")
  message(FATAL_ERROR "No FreeType for wasm under VESK_FREETYPE_PREFIX='${VESK_FREETYPE_PREFIX}': build with scripts/web")
endif()

add_library(PkgConfig::SDL INTERFACE IMPORTED GLOBAL)
# Pictures decoded in the program, at once, and NULL for a broken one (the
# browser's own decoders are asynchronous and never give up on bad data).
# emscripten's IMG_Load calls the decoder through Module, hence the exports.
target_link_options(PkgConfig::SDL INTERFACE -sSTB_IMAGE=1
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free,_stbi_load,_stbi_load_from_memory,_stbi_image_free")
add_library(PkgConfig::SDL_CORE INTERFACE IMPORTED GLOBAL)
add_library(PkgConfig::GL INTERFACE IMPORTED GLOBAL)
# The emulation's shortcuts (GL_UNSAFE_OPTS) tidy up a draw only at the next
# one, and then by the next one's attributes: the texture coordinates of a
# sprite or glyph stay enabled under a disc or ring drawn from vertices alone,
# which Firefox and WebKit refuse as a fetch beyond the sprite's few vertices.
# Without them each draw disables what it enabled.
target_link_options(PkgConfig::GL INTERFACE -sLEGACY_GL_EMULATION=1 -sGL_UNSAFE_OPTS=0)
add_library(PkgConfig::FREETYPE STATIC IMPORTED GLOBAL)
set_target_properties(PkgConfig::FREETYPE PROPERTIES
  IMPORTED_LOCATION "${VESK_FREETYPE_PREFIX}/lib/libfreetype.a"
  INTERFACE_INCLUDE_DIRECTORIES "${VESK_FREETYPE_PREFIX}/include/freetype2")
