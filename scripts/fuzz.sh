#!/usr/bin/env bash
# Fuzzes the entry point of every plug-in of plugins.txt through the stand-in host (libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer), starting from the corpus in
# tests/fuzz/corpus.  Each valid call is checked against the reference
# implementation.
#   fuzz.sh [SECONDS_PER_PLUGIN]   (default 60; CI uses the default)
# For a long run: fuzz.sh 3600.  New inputs go to build-fuzz/corpus/, the
# checked-in corpus is left alone; a failing input is saved as
# build-fuzz/crash-* and the script fails.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
bash "$top/scripts/install_deps.sh" clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLUGINS_FUZZ=ON >/dev/null
cmake --build "$top/build-fuzz" -j "$(nproc)"
cd "$top/build-fuzz"
for name in $(awk '$1 == "plugin" { print $2 }' "$top/plugins.txt"); do
  mkdir -p "corpus/$name"
  seeds=()
  [ -d "$top/tests/fuzz/corpus/$name" ] && seeds=("$top/tests/fuzz/corpus/$name")
  log="fuzz_$name.log"
  if ! "tests/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$PWD/" "corpus/$name" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz_$name: FAILED (input saved beside $log)"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}')
  echo "fuzz_$name: $runs calls in ${seconds}s, no fault"
done
