# Linux on arm64 (aarch64), cross-built with Debian's g++-aarch64-linux-gnu;
# the programs run under user-mode QEMU (qemu-user), which ctest and the
# GoogleTest discovery use as the emulator:
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(triple aarch64-linux-gnu)

find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++ REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
find_program(PLUGINS_QEMU_AARCH64 qemu-aarch64)
if(PLUGINS_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PLUGINS_QEMU_AARCH64} -L ${CMAKE_FIND_ROOT_PATH})
endif()

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
