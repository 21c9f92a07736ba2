#!/usr/bin/env bash
# Cross-builds the MATLAB-ABI plug-ins for the other platforms, each in its
# own build tree:
#   build-windows/        Windows x64 (MinGW-w64): *.mexw64, the stand-in
#                         libmx.dll / libmex.dll and replay.exe
#   build-macos-x86_64/   macOS Intel (zig):  *.mexmaci64
#   build-macos-arm64/    macOS arm64 (zig):  *.mexmaca64
#   build-aarch64/        Linux arm64 (g++-aarch64-linux-gnu): *.mexa64, the
#                         stand-in host libraries, the replay runner and the
#                         C++ tests, run under qemu-aarch64 by ctest
# Plug-ins land in <tree>/plugins-matlab, host libraries in <tree>/host-libs.
#   cross_build.sh [windows] [macos] [aarch64]      (Windows and macOS by default)
# Installs mingw-w64, llvm, the pinned zig, g++-aarch64-linux-gnu and
# qemu-user when missing.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(windows macos)

for target in "${targets[@]}"; do
  case $target in
    windows)
      bash "$top/scripts/install_deps.sh" mingw-w64
      cmake -S "$top" -B "$top/build-windows" -DPLUGINS_BUILD_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchains/mingw-w64.cmake" >/dev/null
      cmake --build "$top/build-windows" -j "$(nproc)"
      ;;
    macos)
      bash "$top/scripts/install_deps.sh" llvm
      zig=$(bash "$top/scripts/install_zig.sh")
      failed=()
      for arch in x86_64 arm64; do
        cmake -S "$top" -B "$top/build-macos-$arch" -DPLUGINS_BUILD_TESTS=OFF -DZIG="$zig" \
          -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchains/zig-macos-$arch.cmake" >/dev/null &&
        cmake --build "$top/build-macos-$arch" -j "$(nproc)" || failed+=("$arch")
      done
      [ ${#failed[@]} -eq 0 ] || { echo "macOS build failed: ${failed[*]}" >&2; exit 1; }
      ;;
    aarch64)
      bash "$top/scripts/install_deps.sh" g++-aarch64-linux-gnu qemu-user googletest
      cmake -S "$top" -B "$top/build-aarch64" \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchains/aarch64-linux-gnu.cmake" >/dev/null
      cmake --build "$top/build-aarch64" -j "$(nproc)"
      ;;
    *) echo "unknown target: $target (windows, macos or aarch64)" >&2; exit 2 ;;
  esac
done
