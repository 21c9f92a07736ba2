#!/usr/bin/env bash
# The main job on a fresh Debian machine: installs what is missing, builds the
# plug-ins and runs the demo in Octave.  Pictures go to build/demo/.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/install_deps.sh"
bash "$top/scripts/build.sh"
mkdir -p "$top/build/demo"
octave-cli --norc --no-history --quiet --no-window-system --eval \
  "addpath('$top/build/plugins'); addpath('$top/toolbox'); wavelet_demo('$top/build/demo')" \
  2> >(grep -v 'ignoring const execution_exception' >&2)
