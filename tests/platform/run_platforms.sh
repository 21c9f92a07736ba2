#!/usr/bin/env bash
# Cross-builds Windows and macOS (scripts/cross_build.sh) and checks them
# against the Linux build in ./build (configured and built first):
#   - the Windows plug-ins' PE tables;
#   - the replay cases (the project's own, and the public cases in
#     ../shared/conformance/cases when present) through Linux and, under
#     Wine, through Windows: byte-identical outcome files;
#   - the macOS plug-ins (x86_64 and arm64) with the LLVM tools;
#   - the arm64 Linux build under qemu-aarch64: its C++ tests and plug-in
#     checks (ctest), its NEON kernels built and run, and the replay cases
#     (both sets again) with outcomes identical to the x86-64 ones.
# Ends with "platforms: N passed, N failed".
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
here=$top/tests/platform
read -r -a names <"$top/build/plugin-names.txt"
shared=$top/../shared/conformance/cases
passed=0; failed=0
step() {  # LABEL COMMAND...
  local label=$1; shift
  echo "== $label"
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $label"; fi
}
timed() { local t0=$SECONDS; "$@"; local rc=$?; echo "   ($((SECONDS - t0)) s)"; return $rc; }

bash "$top/scripts/install_deps.sh" mingw-w64 wine64 llvm g++-aarch64-linux-gnu qemu-user googletest
step "cross build: Windows" timed bash "$top/scripts/cross_build.sh" windows
step "Windows import and export tables" bash "$here/check_windows.sh" "$top/build-windows/plugins-matlab" "${names[@]}"
step "Linux replay of the project's cases" bash "$here/replay_linux.sh" "$top/build" "$top/build/replay" "${names[@]}"
step "Linux and Windows (Wine) outcomes identical" timed \
  bash "$here/replay_wine.sh" "$top/build" "$top/build-windows" "$top/build/replay" "$shared"
step "cross build: macOS x86_64 and arm64" timed bash "$top/scripts/cross_build.sh" macos
step "macOS x86_64 plug-ins" bash "$here/check_macos.sh" "$top/build-macos-x86_64/plugins-matlab" .mexmaci64 "${names[@]}"
step "macOS arm64 plug-ins" bash "$here/check_macos.sh" "$top/build-macos-arm64/plugins-matlab" .mexmaca64 "${names[@]}"
step "the macOS check rejects a fused multiply-add" bash "$here/fma_is_caught.sh" \
  "$(bash "$top/scripts/install_zig.sh")" "$top/build-macos-x86_64/host-libs" "$top/build-macos-arm64/host-libs"
step "cross build: Linux arm64" timed bash "$top/scripts/cross_build.sh" aarch64
step "arm64 under qemu: C++ tests, plug-in tables, replay" timed \
  ctest --test-dir "$top/build-aarch64" --output-on-failure
step "arm64 NEON kernels built and run" timed \
  bash "$here/check_aarch64_kernels.sh" "$top/build-aarch64" "${names[@]}"
step "Linux x86-64 and arm64 (qemu) outcomes identical" timed \
  bash "$here/replay_aarch64.sh" "$top/build" "$top/build-aarch64" "$top/build/replay" "$shared"
echo "platforms: $passed passed, $failed failed"
[ $failed -eq 0 ]
