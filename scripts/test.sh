#!/usr/bin/env bash
# The whole test suite on a fresh Debian machine: installs what is missing,
# builds, and runs every test (C++ cores and gateways, Octave through the real
# plug-ins, exported symbols), the same without the fast kernels
# (scripts/reference_only.sh), the cross-built Windows, macOS and arm64 Linux
# plug-ins (tests/platform/run_platforms.sh), then the C++ tests under the
# sanitizers and a bounded fuzz run of every plug-in.  Prints each step's time.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
timed() {  # LABEL COMMAND...
  local label=$1 t0=$SECONDS; shift
  echo "== $label"
  "$@"
  echo "== $label: $((SECONDS - t0)) s"
}
bash "$top/scripts/install_deps.sh"
timed "build" bash "$top/scripts/build.sh"
timed "tests" bash -c "cd '$top/build' && ctest --output-on-failure"
timed "the build without the fast kernels, its tests and the public cases" \
  bash "$top/scripts/reference_only.sh"
timed "Windows (MinGW-w64, replayed under Wine), macOS (zig) and arm64 Linux (qemu) builds" \
  bash "$top/tests/platform/run_platforms.sh"
timed "the C++ tests under AddressSanitizer and UndefinedBehaviorSanitizer" \
  bash "$top/scripts/sanitize.sh"
timed "a bounded fuzz run of every plug-in" bash "$top/scripts/fuzz.sh" "${FUZZ_SECONDS:-60}"
