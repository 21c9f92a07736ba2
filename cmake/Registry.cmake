# Reads plugins.txt, the one list of plug-ins and build flags, into:
#   PLUGINS                      the plug-in names, in the file's order
#   PLUGIN_CORE_<name>           the source of its numeric core
#   PLUGIN_KERNELS_<name>        its SIMD kernel family
#   REGISTRY_ISAS                the wider instruction sets (isa lines)
#   REGISTRY_ISA_ARCH_<isa>      the processor each is for
#   REGISTRY_ISA_GNU_<isa>, REGISTRY_ISA_MSVC_<isa>   their compiler flags
#   REGISTRY_FLAGS_GNU, REGISTRY_FLAGS_MSVC           flags of every source
#   REGISTRY_LINK_ELF            link flags of every ELF plug-in
# and writes ${CMAKE_BINARY_DIR}/generated/plugin_list.h for the C++ tests.

set(PLUGIN_REGISTRY ${CMAKE_CURRENT_LIST_DIR}/../plugins.txt)
get_filename_component(PLUGIN_REGISTRY ${PLUGIN_REGISTRY} ABSOLUTE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PLUGIN_REGISTRY})

set(PLUGINS "")
set(REGISTRY_ISAS "")
set(REGISTRY_FLAGS_GNU "")
set(REGISTRY_FLAGS_MSVC "")
set(REGISTRY_LINK_ELF "")
file(STRINGS ${PLUGIN_REGISTRY} _registry_lines)
foreach(line IN LISTS _registry_lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  string(REGEX REPLACE "[ \t]+" ";" words "${line}")
  list(GET words 0 kind)
  list(REMOVE_AT words 0)
  list(LENGTH words count)
  if(kind STREQUAL "plugin" AND count GREATER_EQUAL 3)
    list(GET words 0 name)
    list(GET words 1 PLUGIN_CORE_${name})
    list(GET words 2 PLUGIN_KERNELS_${name})
    list(APPEND PLUGINS ${name})
  elseif(kind STREQUAL "isa" AND count EQUAL 4)
    list(GET words 0 isa)
    list(GET words 1 REGISTRY_ISA_ARCH_${isa})
    list(GET words 2 REGISTRY_ISA_GNU_${isa})
    list(GET words 3 REGISTRY_ISA_MSVC_${isa})
    list(APPEND REGISTRY_ISAS ${isa})
  elseif(kind STREQUAL "flags" AND count GREATER_EQUAL 2)
    list(GET words 0 compiler)
    list(REMOVE_AT words 0)
    string(TOUPPER ${compiler} compiler)
    list(APPEND REGISTRY_FLAGS_${compiler} ${words})
  elseif(kind STREQUAL "link" AND count GREATER_EQUAL 2 AND words MATCHES "^elf;")
    list(REMOVE_AT words 0)
    list(APPEND REGISTRY_LINK_ELF ${words})
  else()
    message(FATAL_ERROR "${PLUGIN_REGISTRY}: cannot read the line '${line}'")
  endif()
endforeach()
if(NOT PLUGINS)
  message(FATAL_ERROR "${PLUGIN_REGISTRY} names no plug-in")
endif()

# X(name) for every plug-in, for C++ code that needs all of them.
set(_list "")
foreach(name IN LISTS PLUGINS)
  string(APPEND _list " X(${name})")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/plugin_list.h CONTENT
"// Written by cmake/Registry.cmake from plugins.txt: X(name) for every plug-in.
#pragma once
#define PLUGIN_LIST(X)${_list}
")
