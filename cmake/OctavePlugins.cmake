# GNU Octave's own function interface: the gateway with the Octave-native
# adapter (host/octave_native.*), linked as <name>.oct into build/plugins-oct
# with its help file beside it.  Needs what cmake/Plugins.cmake found
# (PLUGINS_FOR_OCTAVE, OCTAVE_INCLUDE_DIRS, OCTAVE_LIBDIR).  Each .oct
# exports only G<name>, the installer Octave looks up when it loads the file.
#
# Test builds also make build/plugins-oct-poisoned: the same plug-ins whose
# results start out as a signalling NaN pattern instead of whatever memory
# held, so that a test can show that every sample is written.

set(OCT_PLUGIN_OUTPUT_DIR ${CMAKE_BINARY_DIR}/plugins-oct)
set(OCT_POISONED_OUTPUT_DIR ${CMAKE_BINARY_DIR}/plugins-oct-poisoned)

if(PLUGINS_FOR_OCTAVE)
  add_library(checks_octave_native OBJECT gateways/checks.cpp)
  target_compile_definitions(checks_octave_native PRIVATE PLUGIN_HOST_OCTAVE_NATIVE)

  add_library(octave_native_adapter OBJECT host/octave_native.cpp)
  target_include_directories(octave_native_adapter PRIVATE ${OCTAVE_INCLUDE_DIRS})
  if(PLUGINS_BUILD_TESTS)
    add_library(octave_native_adapter_poisoned OBJECT host/octave_native.cpp)
    target_include_directories(octave_native_adapter_poisoned PRIVATE ${OCTAVE_INCLUDE_DIRS})
    target_compile_definitions(octave_native_adapter_poisoned PRIVATE PLUGIN_POISON_RESULTS)
  endif()
endif()

# One .oct: the plug-in's gateway and Octave function, the given adapter.
function(_link_octave_native_plugin target name adapter output_dir)
  add_library(${target} MODULE
    $<TARGET_OBJECTS:${name}_oct_objects> $<TARGET_OBJECTS:checks_octave_native>
    $<TARGET_OBJECTS:${adapter}> $<TARGET_OBJECTS:core_scratch>)
  target_link_directories(${target} PRIVATE ${OCTAVE_LIBDIR})
  target_link_libraries(${target} PRIVATE core_numeric octinterp octave)
  set(exports ${CMAKE_BINARY_DIR}/octave-exports/${name}.map)
  target_link_options(${target} PRIVATE ${REGISTRY_LINK_ELF} -Wl,--version-script=${exports})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${name} PREFIX "" SUFFIX ".oct"
    LIBRARY_OUTPUT_DIRECTORY ${output_dir}
    LINK_DEPENDS ${exports})
  copy_help_beside(${target} ${name} ${output_dir})
endfunction()

function(add_octave_native_plugin name)
  if(NOT PLUGINS_FOR_OCTAVE)
    return()
  endif()
  # Written only when it changes, so that a new configure run relinks nothing.
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/octave-exports/${name}.map
       CONTENT "{\n  global: G${name};\n  local: *;\n};\n")
  # Octave reads the help of a .mex from the .m file beside it, but that of a
  # .oct from the binary: the same comments, without their "%", compiled in.
  set(help ${PROJECT_SOURCE_DIR}/toolbox/help/${name}.m)
  set(help_dir ${CMAKE_BINARY_DIR}/octave-help/${name})
  file(READ ${help} help_text)
  string(REPLACE "\n%" "\n" help_text "\n${help_text}")
  string(SUBSTRING "${help_text}" 1 -1 help_text)
  # Copied only when it changes (no substitutions in the text), so that a new
  # configure run recompiles nothing.
  file(WRITE ${help_dir}/plugin_help.h.new
       "static const char kPluginHelp[] = R\"help(${help_text})help\";\n")
  configure_file(${help_dir}/plugin_help.h.new ${help_dir}/plugin_help.h COPYONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${help})
  add_library(${name}_oct_objects OBJECT gateways/${name}.cpp host/octave_native_entry.cpp)
  target_include_directories(${name}_oct_objects PRIVATE ${OCTAVE_INCLUDE_DIRS} ${help_dir})
  target_compile_definitions(${name}_oct_objects PRIVATE
    PLUGIN_HOST_OCTAVE_NATIVE PLUGIN_NAME=${name})
  _link_octave_native_plugin(${name}_oct ${name} octave_native_adapter ${OCT_PLUGIN_OUTPUT_DIR})
  if(PLUGINS_BUILD_TESTS)
    _link_octave_native_plugin(${name}_oct_poisoned ${name} octave_native_adapter_poisoned
                               ${OCT_POISONED_OUTPUT_DIR})
  endif()
endfunction()
