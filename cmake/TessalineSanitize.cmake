# Sanitizer builds, each in a build folder of its own:
#   TESSALINE_SANITIZE=ON         AddressSanitizer and UndefinedBehaviorSanitizer
#                                 (scripts/test-sanitized.sh, run by .ci/run)
#   TESSALINE_SANITIZE_THREAD=ON  ThreadSanitizer (scripts/tsan.sh)
# Every report ends the program with an error, so it fails its test.
# TESSALINE_SANITIZER_ENV is the environment of the build's tests and of the
# tools it runs while building (pictures, the guide).
set(TESSALINE_SANITIZER_ENV)

if(TESSALINE_SANITIZE AND TESSALINE_SANITIZE_THREAD)
  message(FATAL_ERROR "TESSALINE_SANITIZE and TESSALINE_SANITIZE_THREAD exclude each other: use two build folders")
endif()

# Line tables are all a report needs; full debug information only slows the build.
if(TESSALINE_SANITIZE OR TESSALINE_SANITIZE_THREAD)
  add_compile_options(-fno-omit-frame-pointer -g1)
endif()

if(TESSALINE_SANITIZE)
  # Not bounds: GCC 12 miscompiles calls through an array of pointers to member functions under it.
  set(sanitize -fsanitize=address,undefined -fno-sanitize=bounds)
  add_compile_options(${sanitize} -fno-sanitize-recover=all)
  add_link_options(${sanitize})
  set(TESSALINE_SANITIZER_ENV
    "ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=0"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan-suppressions.txt:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

if(TESSALINE_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread)
  add_link_options(-fsanitize=thread)
  set(TESSALINE_SANITIZER_ENV
    "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${CMAKE_CURRENT_LIST_DIR}/tsan-suppressions.txt")
endif()
