# The test one_definition fails when two of the project's static libraries
# define one class, struct, union or enum name in two different ways: linked
# into one program, the inline code of one type would serve the other's objects.
# It reads the libraries' debug information (scripts/check-one-definition.py),
# so it is registered where the build keeps full debug information.

# Sets |out| to the static library targets defined in |dir| and below.
function(tessaline_static_libraries out dir)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    tessaline_static_libraries(below ${subdir})
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(tessaline_add_one_definition_test)
  find_package(Python3 COMPONENTS Interpreter)
  if(NOT Python3_Interpreter_FOUND OR TESSALINE_SANITIZE OR TESSALINE_SANITIZE_THREAD
     OR NOT CMAKE_BUILD_TYPE MATCHES "^(Debug|RelWithDebInfo)$")
    return()
  endif()
  tessaline_static_libraries(libraries ${PROJECT_SOURCE_DIR})
  set(files)
  foreach(library IN LISTS libraries)
    list(APPEND files $<TARGET_FILE:${library}>)
  endforeach()
  add_test(NAME one_definition
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check-one-definition.py
            --self-test ${CMAKE_CXX_COMPILER} ${files})
  set_tests_properties(one_definition PROPERTIES TIMEOUT 600)
endfunction()
