# tessaline_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value...>] [TIMEOUT <s>]
#                    [RESOURCE_LOCK <name>])
# One QtTest executable registered with ctest. Widgets run headless. The wait
# service's time scale starts at TESSALINE_TEST_TIME_SCALE whatever the
# caller's environment holds; tests that shorten long settle times set their
# own scale in-process. Tests that share a machine-wide resource
# (RESOURCE_LOCK <name>) do not run at once.
set(TESSALINE_TEST_TIME_SCALE 1.0)

function(tessaline_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt5::Test ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TESSALINE_TIME_SCALE=${TESSALINE_TEST_TIME_SCALE};${T_ENV};${TESSALINE_SANITIZER_ENV}")
  if(T_RESOURCE_LOCK)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK ${T_RESOURCE_LOCK})
  endif()
endfunction()
