#!/usr/bin/env bash
# The project's own replay cases through the Linux MATLAB-ABI build: writes
# them (make_cases), records each outcome as the expectation, replays the
# recorded cases again and requires the same outcomes, bit for bit.  Leaves
# the recorded cases in OUT_DIR/cases for the other platforms.  A cross
# build's programs run through the emulator in PLUGINS_EMULATOR (words).
#   replay_linux.sh BUILD_DIR OUT_DIR NAME...
set -eu
build=$1; out=$2; shift 2
read -r -a run <<<"${PLUGINS_EMULATOR:-}"
rm -rf "$out"; mkdir -p "$out/raw" "$out/cases"
"${run[@]}" "$build/host-libs/make_cases" "$out/raw" 120 "$@"
"${run[@]}" "$build/host-libs/replay" "$build/plugins-matlab" .mexa64 "$out/raw" "$out/first.txt" --record "$out/cases" >/dev/null
"${run[@]}" "$build/host-libs/replay" "$build/plugins-matlab" .mexa64 "$out/cases" "$out/linux.txt"
cmp "$out/first.txt" "$out/linux.txt"
# Every plug-in named must have run, with results and with errors.
for name in "$@"; do
  grep -q " $name result " "$out/linux.txt" || { echo "no result for $name"; exit 1; }
  grep -q " $name error " "$out/linux.txt" || { echo "no error case for $name"; exit 1; }
  ! grep -q " $name skipped" "$out/linux.txt" || { echo "$name was not built"; exit 1; }
done
