#!/usr/bin/env bash
# Checks each Linux MATLAB-ABI plug-in: exports mexFunction and nothing else,
# needs libmx.so and libmex.so by those names, carries its C++ runtime inside
# (no libstdc++.so / libgcc_s.so: the host has its own, older ones) and no
# run path of the build machine.
#   check_linux.sh PLUGIN_DIR NAME...
set -eu
dir=$1; shift
status=0
for name in "$@"; do
  f=$dir/$name.mexa64
  bad=0
  fail() { echo "FAIL $1"; status=1; bad=1; }
  [ -f "$f" ] || { fail "$name: missing $f"; continue; }
  exported=$(nm -D --defined-only "$f" | awk '{print $NF}' | sort | tr '\n' ' ')
  [ "$exported" = "mexFunction " ] || fail "$name: exports '$exported'"
  dynamic=$(readelf -d "$f")
  needed=$(awk '/NEEDED/ {gsub(/[\[\]]/, "", $NF); print $NF}' <<<"$dynamic" | sort | tr '\n' ' ')
  for lib in libmx.so libmex.so; do
    grep -qw "$lib" <<<"$needed" || fail "$name: does not need $lib ($needed)"
  done
  grep -qE "libstdc\+\+|libgcc_s" <<<"$needed" && fail "$name: needs a shared C++ runtime ($needed)"
  grep -qE "RPATH|RUNPATH" <<<"$dynamic" && fail "$name: has a run path"
  undefined=$(nm -D --undefined-only "$f" | awk '{print $NF}' | grep -E '^mx|^mex' | sort | tr '\n' ' ')
  [ $bad -eq 0 ] && echo "ok $name.mexa64: exports mexFunction; needs $needed; host operations $undefined"
done
exit $status
