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
