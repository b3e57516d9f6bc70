# ctest proof that the layers hold: each probe is one file of a layer including one header.
# Against the direction of the layers the compiler must not find the header; along it, the
# probe must build, so that a failure above is known to come from the include alone.
set(ZENTRAIL_LAYER_PROBES
    "zentrail_common  shell/platform.h          refused"
    "zentrail_common  tally/xml_escape.h        refused"
    "zentrail_shell   tally/xml_escape.h        refused"
    "zentrail_shell   screens/screen_context.h  refused"
    "zentrail_tally   shell/configuration.h     refused"
    "zentrail_tally   screens/screen_context.h  refused"
    "zentrail_screens tally/xml_escape.h        allowed"
    "zentrail_screens shell/configuration.h     allowed"
    "zentrail_shell   common/utf8_text.h        allowed")
if(TARGET zentrail_ui)
  list(APPEND ZENTRAIL_LAYER_PROBES
       "zentrail_screens ui/message_box.h         refused"
       "zentrail_ui      app/cli_progress.h       refused"
       "zentrail_ui      screens/screen_context.h allowed")
endif()

foreach(probe IN LISTS ZENTRAIL_LAYER_PROBES)
  string(REGEX REPLACE " +" ";" probe "${probe}")
  list(GET probe 0 layer)
  list(GET probe 1 header)
  list(GET probe 2 verdict)
  string(MAKE_C_IDENTIFIER "${layer}_includes_${header}" name)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/layer_check/${name}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
  add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${name} PRIVATE ${layer})
  add_test(NAME layers.${name}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${name})
  # Probes run the build tool on this tree: one at a time.
  set_tests_properties(layers.${name} PROPERTIES RESOURCE_LOCK zentrail_build_tree TIMEOUT 120)
  if(verdict STREQUAL "refused")
    string(REPLACE "." "\\." pattern "${header}")
    set_tests_properties(layers.${name} PROPERTIES
                         PASS_REGULAR_EXPRESSION "${pattern}'?:? *(No such file|file not found)")
  endif()
endforeach()
