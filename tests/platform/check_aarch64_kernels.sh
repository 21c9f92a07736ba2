#!/usr/bin/env bash
# Checks that the arm64 Linux build carries and runs the NEON kernels:
#   - each plug-in holds the baseline kernels, compiled to 2-lane double
#     multiplies and adds (fmul/fadd vN.2d), and no fused multiply-add anywhere;
#   - the kernel tests, run under qemu-aarch64 with its log of the code it
#     translates, pass and execute those 2-lane multiplies inside the baseline
#     kernels of every kind (the drivers took the kernel tables of the set).
#   check_aarch64_kernels.sh AARCH64_BUILD NAME...
set -eu
build=$1; shift
objdump=aarch64-linux-gnu-objdump
status=0
fail() { echo "FAIL $1"; status=1; }

for name in "$@"; do
  f=$build/plugins-matlab/$name.mexa64
  [ -f "$f" ] || { fail "$name: missing $f"; continue; }
  code=$("$objdump" -d -C --no-show-raw-insn "$f")
  kernels=$(awk '/^[0-9a-f]+ </ {inside = /fast::baseline::/} inside' <<<"$code")
  multiplies=$(grep -cE '\bfmul\s+v[0-9]+\.2d' <<<"$kernels" || true)
  adds=$(grep -cE '\bfadd\s+v[0-9]+\.2d' <<<"$kernels" || true)
  fused=$(grep -cE '\b(fn?madd|fn?msub|fmla|fmls)\b' <<<"$code" || true)
  [ "$multiplies" -gt 0 ] && [ "$adds" -gt 0 ] ||
    fail "$name: no NEON arithmetic in the baseline kernels ($multiplies fmul, $adds fadd .2d)"
  [ "$fused" -eq 0 ] || fail "$name: $fused fused multiply-add instructions"
  echo "$name.mexa64: baseline kernels with $multiplies fmul.2d and $adds fadd.2d, no fused multiply-add"
done

log=$(mktemp)
trap 'rm -f "$log"' EXIT
qemu-aarch64 -L /usr/aarch64-linux-gnu -d in_asm,nochain -D "$log" \
  "$build/tests/unit_tests" --gtest_filter='*FastKernels*' --gtest_brief=1 || fail "kernel tests"
# Translated blocks start "IN: <symbol>"; keep those of the baseline set's
# functions that hold a 2-lane double multiply.
ran=$(awk '/^IN:/ {symbol = $2} /[ \t]fmul[ \t]+v[0-9]+\.2d/ && symbol ~ /^_ZN4fast8baseline/ {print symbol}' "$log" | sort -u)
for table in analysisKernels synthesisKernels circularKernels; do
  grep -q "^IN: _ZN4fast8baseline[0-9]*${table}Ev" "$log" || fail "the baseline $table were never taken"
done
[ -n "$ran" ] || fail "no NEON multiply of the baseline kernels ran"
echo "kernel tests under qemu: $(grep -c . <<<"$ran") baseline kernel functions ran NEON multiplies"
exit $status
