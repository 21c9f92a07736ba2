#!/usr/bin/env bash
# Replays the same cases through the x86-64 Linux build and, under
# qemu-aarch64, through the arm64 Linux build (its NEON kernels), and requires
# byte-identical outcome files (NaNs aside, whose sign the processors make
# differently): the project's own cases (recorded on x86-64 by
# replay_linux.sh) and, when given, another folder of cases with their own
# expectations.
#   replay_aarch64.sh X86_64_BUILD AARCH64_BUILD WORK_DIR [CASES_DIR]
set -eu
linux=$1; arm=$2; work=$3; extra=${4:-}
qemu=(qemu-aarch64 -L /usr/aarch64-linux-gnu)

# A NaN's bits (all exponent bits set, a fraction that is not zero) as "nan".
nan_as_one() { perl -pe 's/\b[7f]ff(?!0{13}\b)[0-9a-f]{13}\b/nan/g' "$1"; }
nan_count() { nan_as_one "$1" | grep -o '\bnan\b' | wc -l; }

status=0
compare() {  # LABEL CASES_DIR
  local label=$1 cases=$2
  echo "== $label: Linux x86-64"
  "$linux/host-libs/replay" "$linux/plugins-matlab" .mexa64 "$cases" "$work/$label.x86_64.txt" || status=1
  echo "== $label: Linux aarch64 under qemu"
  "${qemu[@]}" "$arm/host-libs/replay" "$arm/plugins-matlab" .mexa64 "$cases" "$work/$label.aarch64.txt" || status=1
  local ours=$work/$label.x86_64.txt theirs=$work/$label.aarch64.txt
  if cmp -s "$ours" "$theirs"; then
    echo "$label: outcome files identical ($(wc -l <"$ours") cases)"
  elif cmp -s <(nan_as_one "$ours") <(nan_as_one "$theirs"); then
    # IEEE 754 leaves the sign of a NaN that an operation creates open:
    # x86-64 makes it negative, arm64 positive.  The case files, too, hold
    # every NaN as one "nan".
    echo "$label: outcome files identical once every NaN is written alike" \
         "($(wc -l <"$ours") cases; $(nan_count "$ours") NaN values)"
  else
    diff <(nan_as_one "$ours") <(nan_as_one "$theirs") | head -20
    status=1
  fi
}
compare project "$work/cases"
[ -n "$extra" ] && [ -f "$extra/index.txt" ] && compare extra "$extra"
exit $status
