# Sanitizer and fuzzing builds, each in a build folder of its own.
#   TIRLA_SANITIZE: AddressSanitizer (with leak checks) and UndefinedBehaviorSanitizer over
#                   the programs, the libraries and the tests; any report fails the test.
#   TIRLA_FUZZ:     also the libFuzzer targets of tests/fuzz (clang only); implies the above.
# TIRLA_TEST_ENV holds the variables every test runs with, so that plain `ctest` in such a
# folder reports the same way scripts/test.sh does.
option(TIRLA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TIRLA_FUZZ "Build the libFuzzer targets (clang)" OFF)
set(TIRLA_TEST_ENV "")

if(TIRLA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TIRLA_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  set(TIRLA_SANITIZE ON CACHE BOOL "" FORCE)
  # coverage feedback for the fuzzer in every library; the targets link libFuzzer itself
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(TIRLA_SANITIZE)
  set(tirla_sanitizers -fsanitize=address,undefined,float-divide-by-zero
      -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${tirla_sanitizers})
  add_link_options(${tirla_sanitizers})
  # Leaks inside the system's D-Bus and fontconfig libraries (reached through SDL) are theirs;
  # every other leak fails the test.
  string(JOIN : asan_options detect_leaks=1 detect_stack_use_after_return=1
         check_initialization_order=1 strict_string_checks=1)
  set(leaks ${PROJECT_SOURCE_DIR}/tests/sanitize/leaks.supp)
  set(TIRLA_TEST_ENV "ASAN_OPTIONS=${asan_options}"
      "LSAN_OPTIONS=suppressions=${leaks}:print_suppressions=0"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()
