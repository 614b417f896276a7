# Instrumentation for the whole build, chosen by two options:
#   KIVO_SANITIZE  AddressSanitizer and UndefinedBehaviorSanitizer on every target.
#   KIVO_FUZZ      the same, plus libFuzzer's coverage, for the fuzz targets in
#                  tests/fuzz; needs clang (CC=clang CXX=clang++).
# Included before any target is defined, so that every target of the project
# gets the flags; Qt and the other system libraries stay as they are.

if(NOT KIVO_SANITIZE AND NOT KIVO_FUZZ)
  return()
endif()

if(MSVC)
  message(FATAL_ERROR "KIVO_SANITIZE and KIVO_FUZZ are for GCC and clang")
endif()

if(KIVO_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KIVO_FUZZ needs clang: configure a separate tree with CC=clang CXX=clang++")
endif()

# A finding stops the program at once, so that no report can scroll by unnoticed.
set(kivo_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${kivo_sanitizer_flags})
add_link_options(-fsanitize=address,undefined)

if(KIVO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
