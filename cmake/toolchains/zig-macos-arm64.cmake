# macOS on Apple silicon (arm64), cross-built with zig: plug-ins named <name>.mexmaca64.
#   cmake -S . -B build-macos-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/zig-macos-arm64.cmake -DZIG=...
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(ZIG_TARGET aarch64-macos)
include(${CMAKE_CURRENT_LIST_DIR}/zig-macos.cmake)
