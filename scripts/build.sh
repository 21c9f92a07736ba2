#!/usr/bin/env bash
# Configures and builds everything into ./build (Release): the Octave plug-ins
# in build/plugins and the tests.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build" >/dev/null
cmake --build "$top/build" -j "$(nproc)"
