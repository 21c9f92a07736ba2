#!/usr/bin/env bash
# Each plug-in must export exactly one dynamic symbol: mexFunction for a .mex,
# for an Octave-native .oct the installer G<name> that Octave looks up.
#   check_exports.sh [--oct] PLUGIN_DIR NAME...
set -eu
kind=mex
if [ "$1" = "--oct" ]; then kind=oct; shift; fi
dir=$1; shift
status=0
for name in "$@"; do
  file="$dir/$name.$kind"
  if [ $kind = oct ]; then want="G$name"; else want=mexFunction; fi
  if [ ! -f "$file" ]; then echo "missing: $file"; status=1; continue; fi
  exported=$(nm -D --defined-only "$file" | awk '{print $NF}' | sort | tr '\n' ' ')
  if [ "$exported" != "$want " ]; then
    echo "$name.$kind exports: $exported"; status=1
  else
    echo "$name.$kind exports only $want"
  fi
done
exit $status
