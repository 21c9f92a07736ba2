#!/usr/bin/env bash
# Makes the Octave package build/dist/periodicwavelets-<version>.tar.gz, which
#   pkg install periodicwavelets-<version>.tar.gz
# accepts: it compiles the four plug-ins from source on the user's machine as
# Octave functions (.oct, mkoctfile; src/Makefile).  Layout: DESCRIPTION,
# COPYING, INDEX, inst/ (wavelet_filters, wavelet_demo, the self-test and the
# help files of the plug-ins), src/ (core/, gateways/, the host headers and
# the Octave-native adapter, Makefile), and post_install.m, which moves the
# help files beside the installed binaries.
# The plug-ins, their sources and the flags come from plugins.txt, which the
# package carries as inst/plugins.txt (src/Makefile and the self-test read it).
#   package.sh [BUILD_DIR] [VERSION]     (default ./build and 0.1.0)
# Prints the path of the tarball.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
version=${2:-0.1.0}
name=periodicwavelets
dist=$build/dist
stage=$dist/stage/$name-$version

rm -rf "$dist/stage" && mkdir -p "$stage/inst" "$stage/src"
registry=$top/plugins.txt
read -r -a plugins < <(awk '$1 == "plugin" { printf "%s ", $2 } END { print "" }' "$registry")
[ ${#plugins[@]} -gt 0 ] || { echo "no plug-in in $registry" >&2; exit 1; }

# The sources: core and gateways whole, of the host folder only its headers
# and the Octave-native adapter (host/windows/ serves only the Windows builds).
cp -r "$top/core" "$top/gateways" "$stage/src/"
mkdir -p "$stage/src/host"
cp "$top"/host/*.h "$top/host/octave_native.cpp" "$top/host/octave_native_entry.cpp" \
   "$stage/src/host/"
find "$stage/src" \( -name '*.o' -o -name '*.mex' -o -name '*.oct' \) -delete
cp "$top/toolbox/package/Makefile" "$stage/src/"

sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(date +%F)/" \
  "$top/toolbox/package/DESCRIPTION.in" >"$stage/DESCRIPTION"
cp "$top/toolbox/package/COPYING" "$top/toolbox/package/post_install.m" "$stage/"
# INDEX: the plug-ins under their categories (plugins.txt), then the rest.
index_plugins=$(awk '$1 == "plugin" {
    category = $5; for (i = 6; i <= NF && $i !~ /^#/; i++) category = category " " $i
    if (!(category in seen)) { seen[category] = 1; order[++n] = category }
    members[category] = members[category] "\n " $2
  } END { for (i = 1; i <= n; i++) printf "%s%s\n", order[i], members[order[i]] }' "$registry")
awk -v plugins="$index_plugins" '$0 == "@PLUGINS@" { print plugins; next } { print }' \
  "$top/toolbox/package/INDEX.in" >"$stage/INDEX"
cp "$registry" "$stage/inst/plugins.txt"
cp "$top/toolbox/wavelet_filters.m" "$top/toolbox/wavelet_demo.m" \
   "$top/toolbox/package/${name}_selftest.m" "$stage/inst/"
for p in "${plugins[@]}"; do
  cp "$top/toolbox/help/$p.m" "$stage/inst/"
done

tarball=$dist/$name-$version.tar.gz
tar -C "$dist/stage" -czf "$tarball" "$name-$version"
rm -rf "$dist/stage"
echo "$tarball"
