# 64-bit Windows, cross-compiled with Debian's mingw-w64 (scripts/windows),
# for the game and for the libraries it is built against. VESK_WINDOWS_PREFIX
# is where those libraries are installed; programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# The compilers with POSIX threads: GoogleTest wants std::mutex, which the
# win32 thread model's C++ library lacks.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VESK_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# pkg-config reads the libraries' files alone, never this machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${VESK_WINDOWS_PREFIX}/lib/pkgconfig")
# No time stamp in the programs' headers: a build is the same bytes again.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
