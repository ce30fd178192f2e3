# The libraries below the user interface hold no widget, sound or speech, so
# that worker threads and tests can use them without a widget application.
# A subsystem's widgets live in a target of their own above it (<folder>/ui).
# A library named here that is not defined (yet) is skipped.
set(TESSALINE_WIDGET_FREE_TARGETS
  colour display_protocol sensors icc app_services
  app_controller app_update jobs calibration control_panel_core)
set(TESSALINE_USER_INTERFACE_LIBRARIES Qt5::Widgets Qt5::Multimedia Qt5::TextToSpeech)

# Sets |out| to the chain "a -> b -> Qt5::Widgets" by which |target| links a
# user-interface library, directly or through other targets; empty when none.
function(tessaline_user_interface_link out target)
  set(stack ${target})
  set(chains ${target})
  set(seen)
  while(stack)
    list(POP_BACK stack current)
    list(POP_BACK chains chain)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(current IN_LIST TESSALINE_USER_INTERFACE_LIBRARIES)
      set(${out} "${chain}" PARENT_SCOPE)
      return()
    endif()
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(imported ${current} IMPORTED)
    set(own)
    if(NOT imported)
      get_target_property(own ${current} LINK_LIBRARIES)
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    foreach(dependency IN LISTS own interface)
      # A static library passes its private dependencies on as $<LINK_ONLY:...>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" dependency "${dependency}")
      if(dependency MATCHES "-NOTFOUND$" OR dependency MATCHES "^\\$<")
        continue()
      endif()
      list(APPEND stack ${dependency})
      list(APPEND chains "${chain} -> ${dependency}")
    endforeach()
  endwhile()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Call once every target is defined.
function(tessaline_check_widget_free)
  set(violations)
  foreach(target IN LISTS TESSALINE_WIDGET_FREE_TARGETS)
    if(TARGET ${target})
      tessaline_user_interface_link(chain ${target})
      if(chain)
        string(APPEND violations "\n  ${chain}")
      endif()
    endif()
  endforeach()
  if(violations)
    message(FATAL_ERROR "Libraries below the user interface must not link widgets, sound or speech; "
      "move what needs them into the folder's ui/ target:${violations}")
  endif()
endfunction()
