#!/usr/bin/env bash
# The C++ tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
# in build-sanitize/.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install_deps.sh" clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-sanitize" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLUGINS_SANITIZE=ON >/dev/null
cmake --build "$top/build-sanitize" -j "$(nproc)"
cd "$top/build-sanitize"
ctest --output-on-failure
