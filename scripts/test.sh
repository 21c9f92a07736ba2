#!/usr/bin/env bash
# The whole test suite on a fresh Debian machine: installs what is missing,
# builds, and runs every test (C++ cores and gateways, Octave through the real
# plug-ins, exported symbols), the cross-built Windows and macOS plug-ins
# (tests/platform/run_platforms.sh), then the C++ tests under the sanitizers
# and a bounded fuzz run of every plug-in.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install_deps.sh"
bash "$top/scripts/build.sh"
(cd "$top/build" && ctest --output-on-failure)
echo "== Windows (MinGW-w64, replayed under Wine) and macOS (zig) builds"
bash "$top/tests/platform/run_platforms.sh"
echo "== the C++ tests under AddressSanitizer and UndefinedBehaviorSanitizer"
bash "$top/scripts/sanitize.sh"
echo "== a bounded fuzz run of every plug-in"
bash "$top/scripts/fuzz.sh" "${FUZZ_SECONDS:-60}"
