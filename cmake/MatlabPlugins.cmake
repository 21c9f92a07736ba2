# MATLAB-ABI builds: the gateway compiled with our own declarations of the
# host operations (host/mex_decl.h, MATLAB's symbol names; no Octave), linked
# against the host libraries libmx and libmex, exporting mexFunction only.
#
#   Linux    <name>.mexa64     against the stand-in libmx.so / libmex.so
#   Windows  <name>.mexw64     against import libraries made from host/windows/*.def
#   macOS    <name>.mexmaci64  (x86_64) or <name>.mexmaca64 (arm64), against
#            stub libmx / libmex / libmat dylibs built from the stand-in host
#
# Those host libraries are test machinery (tests/host/libs, built from the
# stand-in host in tests/host/standin) that these builds need to link, so
# they are built with the MATLAB-ABI plug-ins even when the tests are off.
#
# The plug-ins and their help files land in build*/plugins-matlab; the host
# libraries and the replay runner in build*/host-libs.

option(PLUGINS_MATLAB_ABI "Build the MATLAB-ABI plug-ins, host libraries and replay runner" ON)
# A sanitized plug-in cannot be loaded into an unsanitized host.
if(PLUGINS_SANITIZE)
  set(PLUGINS_MATLAB_ABI OFF)
endif()

set(MATLAB_PLUGIN_DIR ${CMAKE_BINARY_DIR}/plugins-matlab)
set(HOST_LIBS_DIR ${CMAKE_BINARY_DIR}/host-libs)

if(WIN32)
  set(MATLAB_PLUGIN_SUFFIX .mexw64)
elseif(APPLE)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(arm64|aarch64)$")
    set(MATLAB_PLUGIN_SUFFIX .mexmaca64)
  else()
    set(MATLAB_PLUGIN_SUFFIX .mexmaci64)
  endif()
else()
  set(MATLAB_PLUGIN_SUFFIX .mexa64)
endif()

if(PLUGINS_MATLAB_ABI)
  add_subdirectory(tests/host/libs)
  if(NOT APPLE)
    add_subdirectory(tests/host/replay)
  endif()
endif()

function(add_matlab_plugin name)
  if(NOT PLUGINS_MATLAB_ABI)
    return()
  endif()
  set(target ${name}_matlab)
  if(APPLE)
    # A dylib, which the host loads like a bundle; zig's Mach-O linker makes it.
    add_library(${target} SHARED gateways/${name}.cpp gateways/checks.cpp ${ARGN} core/scratch.cpp)
  else()
    add_library(${target} MODULE gateways/${name}.cpp gateways/checks.cpp ${ARGN} core/scratch.cpp)
  endif()
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${MATLAB_HOST_LINK_LIBRARIES})
  if(MATLAB_HOST_LINK_DEPENDS)
    add_dependencies(${target} ${MATLAB_HOST_LINK_DEPENDS})
  endif()
  if(WIN32)
    # The C++ runtime goes inside the plug-in: its only other imports are
    # system DLLs.  Only the dllexport'ed mexFunction leaves the DLL.
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++ -static
                        -Wl,--exclude-all-symbols)
  elseif(APPLE)
    # No C++ runtime is linked (zig's libc++ would export all of itself): the
    # plug-in code needs none once exceptions and RTTI are off (and it keeps
    # no static that needs the runtime's initialisation guard).
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
    target_link_options(${target} PRIVATE -nostdlib++
                        -Wl,-install_name,@rpath/${name}${MATLAB_PLUGIN_SUFFIX})
    set_target_properties(${target} PROPERTIES NO_SONAME ON)
  else()
    # The host brings its own, older C++ runtime: carry ours inside.
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++
      ${REGISTRY_LINK_ELF} -Wl,--version-script=${PROJECT_SOURCE_DIR}/host/exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/host/exports.map)
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${name} PREFIX "" SUFFIX ${MATLAB_PLUGIN_SUFFIX}
    SKIP_BUILD_RPATH ON INSTALL_RPATH ""
    LIBRARY_OUTPUT_DIRECTORY ${MATLAB_PLUGIN_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${MATLAB_PLUGIN_DIR})
  copy_help_beside(${target} ${name} ${MATLAB_PLUGIN_DIR})
endfunction()
