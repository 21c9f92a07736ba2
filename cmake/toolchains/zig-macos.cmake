# Shared part of the macOS cross builds with the Zig toolchain (zig c++ as
# the compiler and Mach-O linker).  Included by zig-macos-x86_64.cmake and
# zig-macos-arm64.cmake, which set ZIG_TARGET and the processor.  The zig
# binary comes from -DZIG=... (scripts/install_zig.sh prints its path) or the
# PLUGINS_ZIG environment variable.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 21.0)  # Darwin 21: macOS 12, what current hosts require

if(DEFINED ZIG AND ZIG)
  set(ENV{PLUGINS_ZIG} "${ZIG}")
else()
  set(ZIG "$ENV{PLUGINS_ZIG}")
endif()
if(NOT ZIG OR NOT EXISTS "${ZIG}")
  message(FATAL_ERROR "No zig: pass -DZIG=/path/to/zig (see scripts/install_zig.sh)")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZIG ZIG_TARGET)

# A compiler with its mandatory arguments.
set(CMAKE_CXX_COMPILER "${ZIG}" c++ -target ${ZIG_TARGET})
find_program(CMAKE_AR NAMES llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib REQUIRED)
# No SDK on this machine: zig brings the headers and libSystem stubs.
set(CMAKE_OSX_SYSROOT "" CACHE PATH "" FORCE)
set(CMAKE_OSX_DEPLOYMENT_TARGET "" CACHE STRING "" FORCE)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
