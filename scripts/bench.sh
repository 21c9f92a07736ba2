#!/usr/bin/env bash
# Measures speed: the four cores and a memcpy floor (Google Benchmark,
# build/bench/core_bench), the peer PyWavelets (wavedec2 / waverec2, db4,
# periodization, 3 levels), and every plug-in end to end in Octave against a
# no-op plug-in, conv2 on periodic padding and fft2.  Prints the table of
# ratios against the targets and writes build/bench/: results.json, table.txt,
# scaling.png (time against size), plus the raw measurements.
#   bench.sh            the whole grid: 256^2 .. 4096^2, K 2/8/20, L 1/3/5,
#                       matrices and both vector shapes (about 4 minutes)
#   bench.sh --quick    only what the table and the plot need (under a minute)
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
cmake --build "$top/build" -j "$(nproc)" --target core_bench noop_plugin \
  wavelet_analysis wavelet_synthesis cyclic_split cyclic_merge

out=$top/build/bench
mkdir -p "$out"
load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v l="$load" 'BEGIN { exit !(l > 0.5) }'; then
  echo "warning: load average $load: other work is running, timings will be noisy" >&2
fi
model=$(lscpu | sed -n 's/^Model name: *//p' | head -1)
echo "$model, $(nproc) cores; load average before the run $load; $(date -u +%Y-%m-%dT%H:%MZ)" >"$out/machine.txt"

# The table's rows, each measured 7 times (median); then the grid once.
targets='^(dwt|idwt|cyclic_split|cyclic_merge)/matrix/2048x2048/K8(/L3)?/real_time|^memcpy/2048x2048/'
if [ $quick -eq 1 ]; then
  grid='^(dwt|idwt|cyclic_split|cyclic_merge)/matrix/[0-9x]+/K8(/L3)?/real_time|^memcpy/'
  sides=(256 1024 2048)
  octave_sides="2048"
else
  grid='.'
  sides=(256 1024 2048 4096)
  octave_sides="[256 1024 2048 4096]"
fi
echo "== cores: the table's rows (7 repetitions)"
"$out/core_bench" --benchmark_filter="$targets" --benchmark_repetitions=7 \
  --benchmark_report_aggregates_only=true --benchmark_min_time=0.3 \
  --benchmark_out="$out/core_targets.json" --benchmark_out_format=json
echo "== cores: the grid"
"$out/core_bench" --benchmark_filter="$grid" --benchmark_min_time=0.1 \
  --benchmark_out="$out/core_grid.json" --benchmark_out_format=json

echo "== peer: PyWavelets"
/usr/bin/python3 "$top/bench/pywt_bench.py" "$out/pywt.json" 3 "${sides[@]}"

echo "== Octave, end to end"
octave-cli --norc --no-history --quiet --no-window-system --eval \
  "addpath('$top/build/plugins'); addpath('$top/build/plugins-bench'); addpath('$top/toolbox'); addpath('$top/bench'); octave_bench('$out/octave.json', $octave_sides, 5)"

echo "== table ($out/table.txt; results.json, scaling.png beside it)"
/usr/bin/python3 "$top/bench/report.py" "$out"
