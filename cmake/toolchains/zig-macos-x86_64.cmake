# macOS on Intel (x86_64), cross-built with zig: plug-ins named <name>.mexmaci64.
#   cmake -S . -B build-macos-x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/zig-macos-x86_64.cmake -DZIG=...
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZIG_TARGET x86_64-macos)
include(${CMAKE_CURRENT_LIST_DIR}/zig-macos.cmake)
# zig's clang (19) splits 512-bit vectors off AVX-512 (evex512): files built
# with -mavx512f need it too, and it changes nothing elsewhere.
set(CMAKE_CXX_FLAGS_INIT "-mevex512")
