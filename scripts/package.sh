#!/usr/bin/env bash
# Makes the Octave package build/dist/periodicwavelets-<version>.tar.gz, which
#   pkg install periodicwavelets-<version>.tar.gz
# accepts: it compiles the four plug-ins from source on the user's machine as
# Octave functions (.oct, mkoctfile; src/Makefile).  Layout: DESCRIPTION,
# COPYING, INDEX, inst/ (wavelet_filters, wavelet_demo, the self-test and the
# help files of the plug-ins), src/ (core/, gateways/, the host headers and
# the Octave-native adapter, Makefile), and post_install.m, which moves the
# help files beside the installed binaries.
# Each plug-in's source list and the instruction-set flags of its kernels
# come from the CMake build (a configure-only run, compile_commands.json).
#   package.sh [BUILD_DIR] [VERSION]     (default ./build and 0.1.0)
# Prints the path of the tarball.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
version=${2:-0.1.0}
name=periodicwavelets
dist=$build/dist
stage=$dist/stage/$name-$version
probe=$dist/cmake-probe

rm -rf "$dist/stage" && mkdir -p "$stage/inst" "$stage/src"
cmake -S "$top" -B "$probe" -DPLUGINS_BUILD_TESTS=OFF -DPLUGINS_BUILD_BENCH=OFF \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
read -r -a plugins < <(sed -n 's/^set(PLUGINS \(.*\))$/\1/p' "$top/CMakeLists.txt")
[ ${#plugins[@]} -gt 0 ] || { echo "no PLUGINS list in CMakeLists.txt" >&2; exit 1; }

# One line per source of an Octave plug-in target: TARGET FILE [-m... flags].
sources=$(awk -v top="$top/" '
  /"command":/ { cmd = $0 }
  /"file":/ {
    if (match (cmd, /-o CMakeFiles\/[A-Za-z0-9_]+\.dir\//)) {
      target = substr (cmd, RSTART + 14, RLENGTH - 19)
      file = $0; sub (/.*"file": "/, "", file); sub (/".*/, "", file)
      sub (top, "", file)
      isa = ""
      n = split (cmd, w, " ")
      for (i = 1; i <= n; i++) if (w[i] ~ /^-m[a-z0-9]/) isa = isa " " w[i]
      print target, file isa
    }
  }' "$probe/compile_commands.json")

{
  echo "# Written by scripts/package.sh: the objects of each plug-in."
  echo "PLUGINS = ${plugins[*]}"
  isa_objects=""
  for p in "${plugins[@]}"; do
    objs=$(awk -v t="$p" '$1 == t { sub (/\.cpp$/, ".o", $2); printf " %s", $2 }' <<<"$sources")
    [ -n "$objs" ] || { echo "no sources found for $p" >&2; exit 1; }
    echo "${p}_OBJECTS =$objs"
  done
  while read -r _ file flags; do
    [ -n "$flags" ] || continue
    echo "${file%.cpp}.o: ISA_FLAGS = $flags"
    isa_objects="$isa_objects ${file%.cpp}.o"
  done < <(awk 'NF > 2' <<<"$sources" | sort -u -k2,2)
  echo "ISA_SPECIFIC =$isa_objects"
} >"$stage/src/sources.mk"

# The sources: core and gateways whole, of the host folder only its headers
# and the Octave-native adapter (its subfolders are test and cross-build hosts).
cp -r "$top/core" "$top/gateways" "$stage/src/"
mkdir -p "$stage/src/host"
cp "$top"/host/*.h "$top/host/octave_native.cpp" "$top/host/octave_native_entry.cpp" \
   "$stage/src/host/"
find "$stage/src" \( -name '*.o' -o -name '*.mex' -o -name '*.oct' \) -delete
cp "$top/toolbox/package/Makefile" "$stage/src/"

sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(date +%F)/" \
  "$top/toolbox/package/DESCRIPTION.in" >"$stage/DESCRIPTION"
cp "$top/toolbox/package/COPYING" "$top/toolbox/package/INDEX" \
   "$top/toolbox/package/post_install.m" "$stage/"
cp "$top/toolbox/wavelet_filters.m" "$top/toolbox/wavelet_demo.m" \
   "$top/toolbox/package/${name}_selftest.m" "$stage/inst/"
for p in "${plugins[@]}"; do
  cp "$top/toolbox/help/$p.m" "$stage/inst/"
done

tarball=$dist/$name-$version.tar.gz
tar -C "$dist/stage" -czf "$tarball" "$name-$version"
rm -rf "$dist/stage"
echo "$tarball"
