#!/usr/bin/env bash
# The build without the fast kernels (-DPLUGINS_FAST_KERNELS=OFF, what a
# compiler without vector extensions gets) in build-reference/: builds it,
# runs its whole test suite (C++ and Octave), then the public bit-exact cases
# when they are checked out beside this repository.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-reference
cmake -S "$top" -B "$build" -DPLUGINS_FAST_KERNELS=OFF -DPLUGINS_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && ctest --output-on-failure)
if [ -x "$top/../shared/conformance/run" ]; then
  echo "== public bit-exact cases, reference-only build"
  "$top/../shared/conformance/run" "$build/plugins"
fi
