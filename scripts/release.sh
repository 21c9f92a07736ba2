#!/usr/bin/env bash
# Builds the release archives, one per platform, into dist/:
#   periodic-plugins-<version>-linux-x86_64.tar.gz   *.mexa64
#   periodic-plugins-<version>-windows-x64.zip       *.mexw64
#   periodic-plugins-<version>-macos.tar.gz          *.mexmaci64 and *.mexmaca64
# each with the help files (<name>.m) and a short README.txt.  Builds Linux
# (./build) and cross-builds Windows and macOS first; installs what is missing.
#   release.sh [VERSION]       (default: git describe)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
version=${1:-$(git -C "$top" describe --tags --always --dirty 2>/dev/null || echo dev)}

bash "$top/scripts/install_deps.sh" mingw-w64 llvm zip
bash "$top/scripts/build.sh"
bash "$top/scripts/cross_build.sh" windows macos

read -r -a names <"$top/build/plugin-names.txt"
dist=$top/dist
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$dist"

readme() {  # PLATFORM INSTRUCTIONS
  cat <<TEXT
Periodic wavelet and circular filtering plug-ins, $version, for $1.

Plug-ins: ${names[*]}.
Each binary is a MEX file built for MATLAB's interface (libmx/libmex, exported
entry point mexFunction only); the .m file of the same name is its help text.

$2

  addpath('/path/to/this/folder')
  help wavelet_analysis

Results are exact to the last bit and the same on every platform (no fused
multiply-add).  GNU Octave users build the plug-ins from source with
toolbox/build_plugins.m.
TEXT
}

package() {  # PLATFORM-TAG FORMAT INSTRUCTIONS DIR:SUFFIX...
  local tag=$1 format=$2 text=$3; shift 3
  local name=periodic-plugins-$version-$tag
  local dir=$stage/$name
  mkdir -p "$dir"
  for item in "$@"; do
    local from=${item%%:*} suffix=${item##*:}
    for n in "${names[@]}"; do
      cp "$from/$n$suffix" "$dir/"
      cp "$top/toolbox/help/$n.m" "$dir/"
    done
  done
  readme "$tag" "$text" >"$dir/README.txt"
  rm -f "$dist/$name.$format"
  case $format in
    tar.gz) tar -C "$stage" -czf "$dist/$name.tar.gz" "$name" ;;
    zip) (cd "$stage" && zip -qr "$dist/$name.zip" "$name") ;;
  esac
  echo "$dist/$name.$format"
}

package linux-x86_64 tar.gz "MATLAB on 64-bit Linux loads the .mexa64 files." \
  "$top/build/plugins-matlab:.mexa64"
package windows-x64 zip "MATLAB on 64-bit Windows loads the .mexw64 files; they need no DLL beyond MATLAB's and Windows' own." \
  "$top/build-windows/plugins-matlab:.mexw64"
package macos tar.gz "MATLAB on macOS loads the .mexmaci64 files (Intel) or the .mexmaca64 files (Apple silicon). These were cross-built and checked with the LLVM tools, not loaded on a Mac." \
  "$top/build-macos-x86_64/plugins-matlab:.mexmaci64" "$top/build-macos-arm64/plugins-matlab:.mexmaca64"
