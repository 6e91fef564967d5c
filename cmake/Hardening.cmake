# Hardening builds, kept apart from the ordinary one:
#   VESK_SANITIZE=ON  every target with AddressSanitizer and UndefinedBehaviorSanitizer
#                     (any undefined behaviour stops the program, like an assertion);
#   VESK_FUZZ=ON      also the libFuzzer targets of fuzz/ (needs clang; implies VESK_SANITIZE).
# scripts/test configures one clang tree with both.

option(VESK_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VESK_FUZZ "Build the libFuzzer targets in fuzz/ (clang only)" OFF)

if(VESK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VESK_FUZZ needs clang: configure with "
                        "-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(VESK_SANITIZE ON)
endif()

if(VESK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VESK_FUZZ)
  # Coverage feedback has to reach into the libraries the fuzzers drive,
  # not only the fuzz targets themselves; the libFuzzer driver is linked
  # into the fuzz targets alone (fuzz/CMakeLists.txt). Stack depth is no
  # feedback: it moves with where the system happens to place the stack, and
  # a fixed seed must fuzz the same inputs on every run.
  add_compile_options(-fsanitize=fuzzer-no-link -fno-sanitize-coverage=stack-depth)
endif()

# Debian's hardening for the Linux programs, the flags dpkg-buildflags gives
# with DEB_BUILD_MAINT_OPTIONS=hardening=+all, written out here so a build
# needs no dpkg (its -g -O2 and prefix map come from the build type and the
# maps above): the stack protector, format checks, fortified libc calls, and
# full RELRO with immediate binding; position independence is the compilers'
# default. Not for the web or a Windows cross build, whose toolchains differ.
# The sanitizer tree leaves out _FORTIFY_SOURCE: fortified calls bypass
# AddressSanitizer's own checks of the same functions.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  if(NOT VESK_SANITIZE)
    # glibc wants optimisation for it: not in a Debug build.
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
