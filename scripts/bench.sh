#!/usr/bin/env bash
# Measures speed: the four cores and a memcpy floor (Google Benchmark,
# build/bench/core_bench), 1 x n rows and n x 1 columns against the matrix of
# the same samples, the peak separate multiply and add throughput of the
# widest vector unit (the arithmetic floor), the peer PyWavelets (wavedec2 /
# waverec2 and 1-D wavedec / waverec, db4, periodization, 3 levels), and every
# plug-in end to end in Octave against a no-op plug-in, conv2 on periodic
# padding and fft2, on 8 x 8 Haar calls, and as .oct against .mex builds
# (skipped when there is no .oct build).  Prints the table of ratios against
# the targets and writes build/bench/: results.json, table.txt, scaling.png
# (time against size), plus the raw measurements.
#   bench.sh            the whole grid: 256^2 .. 4096^2, K 2/8/20, L 1/3/5,
#                       matrices and both vector shapes (about 6 minutes)
#   bench.sh --quick    only what the table and the plot need (about 3 minutes)
# Installs what is missing (Google Benchmark, PyWavelets, gnuplot).  Run it
# on a quiet machine: it warns when the load average is high.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
quick=0
case ${1:-} in
  --quick) quick=1 ;;
  "") ;;
  *) echo "usage: bench.sh [--quick]" >&2; exit 2 ;;
esac

extra=(libbenchmark-dev python3-pywt)
command -v gnuplot >/dev/null 2>&1 || extra+=(gnuplot-nox)
bash "$top/scripts/install_deps.sh" "${extra[@]}"
cmake -S "$top" -B "$top/build" -DPLUGINS_BUILD_BENCH=ON >/dev/null
read -r -a plugins < <(awk '$1 == "plugin" { printf "%s ", $2 } END { print "" }' "$top/plugins.txt")
# The Octave-native builds (<name>_oct, into build/plugins-oct) where this
# tree has them.
oct_targets=()
available=$(cmake --build "$top/build" --target help 2>/dev/null || true)
for p in "${plugins[@]}"; do   # "... name" (Makefiles) or "name: phony" (Ninja)
  if grep -qE "^(\.\.\. )?${p}_oct(: .*)?\$" <<<"$available"; then oct_targets+=("${p}_oct"); fi
done
cmake --build "$top/build" -j "$(nproc)" --target core_bench noop_plugin noop_oct \
  "${plugins[@]}" "${oct_targets[@]}"

out=$top/build/bench
mkdir -p "$out"
load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v l="$load" 'BEGIN { exit !(l > 0.5) }'; then
  echo "warning: load average $load: other work is running, timings will be noisy" >&2
fi
model=$(lscpu | sed -n 's/^Model name: *//p' | head -1)
# Large Octave calls depend on whether a result may have huge pages.
thp=$(sed -n 's/.*\[\(.*\)\].*/\1/p' /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || true)
echo "$model, $(nproc) cores; transparent huge pages: ${thp:-unknown}; load average before the run $load; $(date -u +%Y-%m-%dT%H:%MZ)" >"$out/machine.txt"

# The table's rows, each measured several times (median), the repetitions of
# all rows shuffled together, so that a ratio's two sides see the same
# neighbours on a shared machine; then the grid once.
# Rows: the 2048^2 matrices and memcpy; 1 x n rows and n x 1 columns with the
# sqrt(n) x sqrt(n) matrices at n = 2^16, 2^20, 2^24; the peak multiply-add.
cores='(dwt|idwt|cyclic_split|cyclic_merge)'
vectors='row/1x(65536|1048576|16777216)|column/(65536|1048576|16777216)x1'
targets="^$cores/(matrix/(256x256|1024x1024|2048x2048|4096x4096)|$vectors)/K8(/L3)?/real_time"
targets+='|^memcpy/2048x2048/|^peak/'
signals=(65536 1048576 16777216)
if [ $quick -eq 1 ]; then
  grid='^memcpy/'    # the matrices of the plot and the growth rows are table rows
  sides=(256 1024 2048)
  octave_sides="2048"
  repetitions=5 min_time=0.05
else
  grid='.'
  sides=(256 1024 2048 4096)
  octave_sides="[256 1024 2048 4096]"
  repetitions=5 min_time=0.1
fi
# Google Benchmark 1.6 and later shuffle the repetitions; an older one runs
# them in order (noisier ratios) rather than refuse the flag.
shuffle=()
if "$out/core_bench" --help 2>&1 | grep -q benchmark_enable_random_interleaving; then
  shuffle=(--benchmark_enable_random_interleaving=true)
else
  echo "warning: this Google Benchmark cannot shuffle repetitions: rows run in order" >&2
fi
echo "== cores: the table's rows ($repetitions repetitions)"
"$out/core_bench" --benchmark_filter="$targets" --benchmark_repetitions=$repetitions \
  --benchmark_report_aggregates_only=true --benchmark_min_time=$min_time "${shuffle[@]}" \
  --benchmark_out="$out/core_targets.json" --benchmark_out_format=json
echo "== cores: the grid"
"$out/core_bench" --benchmark_filter="$grid" --benchmark_min_time=0.1 \
  --benchmark_out="$out/core_grid.json" --benchmark_out_format=json

echo "== peer: PyWavelets"
/usr/bin/python3 "$top/bench/pywt_bench.py" "$out/pywt.json" 3 "${sides[@]}" --signals "${signals[@]}"

echo "== Octave, end to end (.oct against .mex from $top/build/plugins-oct, skipped when absent)"
octave-cli --norc --no-history --quiet --no-window-system --eval \
  "addpath('$top/build/plugins'); addpath('$top/build/plugins-bench'); addpath('$top/toolbox'); addpath('$top/bench'); octave_bench('$out/octave.json', $octave_sides, 5, '$top/build/plugins', '$top/build/plugins-oct', [2048 256 8])"

echo "== table ($out/table.txt; results.json, scaling.png beside it)"
/usr/bin/python3 "$top/bench/report.py" "$out"
