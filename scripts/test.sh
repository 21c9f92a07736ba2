#!/usr/bin/env bash
# The whole test suite on a fresh Debian machine: installs what is missing,
# builds, and runs every test (C++ cores and gateways, Octave through the real
# plug-ins, exported symbols).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install_deps.sh"
bash "$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure
