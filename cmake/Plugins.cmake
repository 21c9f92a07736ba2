# How a gateway becomes a plug-in for each host.

# GNU Octave: the gateway compiled against Octave's own mex.h, linked as
# <name>.mex into build/plugins, exporting mexFunction and nothing else.
# (Never in a cross build: the Octave found would be the build machine's.)
if(NOT CMAKE_CROSSCOMPILING)
  find_program(MKOCTFILE mkoctfile)
endif()
if(MKOCTFILE AND NOT PLUGINS_SANITIZE)
  execute_process(COMMAND ${MKOCTFILE} -p INCFLAGS OUTPUT_VARIABLE _oct_inc OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${MKOCTFILE} -p OCTLIBDIR OUTPUT_VARIABLE OCTAVE_LIBDIR OUTPUT_STRIP_TRAILING_WHITESPACE)
  separate_arguments(_oct_inc UNIX_COMMAND "${_oct_inc}")
  set(OCTAVE_INCLUDE_DIRS "")
  foreach(flag IN LISTS _oct_inc)
    string(REGEX REPLACE "^-I" "" dir "${flag}")
    list(APPEND OCTAVE_INCLUDE_DIRS "${dir}")
  endforeach()
  set(PLUGINS_FOR_OCTAVE ON)
  message(STATUS "Octave plug-ins: headers ${OCTAVE_INCLUDE_DIRS}, libraries ${OCTAVE_LIBDIR}")
else()
  set(PLUGINS_FOR_OCTAVE OFF)
  message(STATUS "Octave plug-ins not built (no mkoctfile, or a sanitizer build)")
endif()

set(PLUGIN_OUTPUT_DIR ${CMAKE_BINARY_DIR}/plugins)

# The help text lives in a comments-only .m file beside every binary; the
# host runs the binary and shows the .m file's comments for `help`.
function(copy_help_beside target name dir)
  set(help ${PROJECT_SOURCE_DIR}/toolbox/help/${name}.m)
  if(EXISTS ${help})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${help} ${dir}/${name}.m)
  endif()
endfunction()

function(add_octave_plugin name)
  if(NOT PLUGINS_FOR_OCTAVE)
    return()
  endif()
  add_library(${name} MODULE gateways/${name}.cpp gateways/checks.cpp ${ARGN} core/scratch.cpp)
  target_include_directories(${name} PRIVATE ${OCTAVE_INCLUDE_DIRS})
  target_compile_definitions(${name} PRIVATE PLUGIN_HOST_OCTAVE)
  target_link_directories(${name} PRIVATE ${OCTAVE_LIBDIR})
  target_link_libraries(${name} PRIVATE octinterp octave)
  target_link_options(${name} PRIVATE
    ${REGISTRY_LINK_ELF} -Wl,--version-script=${PROJECT_SOURCE_DIR}/host/exports.map)
  set_target_properties(${name} PROPERTIES
    PREFIX "" SUFFIX ".mex"
    LIBRARY_OUTPUT_DIRECTORY ${PLUGIN_OUTPUT_DIR}
    LINK_DEPENDS ${PROJECT_SOURCE_DIR}/host/exports.map)
  copy_help_beside(${name} ${name} ${PLUGIN_OUTPUT_DIR})
endfunction()

# The stand-in host: the same gateway with MATLAB's declarations, its entry
# point renamed <name>_entry so that all gateways link into one test program.
function(add_standin_gateway name)
  add_library(${name}_standin STATIC gateways/${name}.cpp)
  target_compile_definitions(${name}_standin PRIVATE mexFunction=${name}_entry)
  target_link_libraries(${name}_standin PUBLIC checks_standin core_numeric)
endfunction()
