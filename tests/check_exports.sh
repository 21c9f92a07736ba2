#!/usr/bin/env bash
# Each plug-in must export exactly one dynamic symbol: mexFunction.
#   check_exports.sh PLUGIN_DIR NAME...
set -eu
dir=$1; shift
status=0
for name in "$@"; do
  file="$dir/$name.mex"
  if [ ! -f "$file" ]; then echo "missing: $file"; status=1; continue; fi
  exported=$(nm -D --defined-only "$file" | awk '{print $NF}' | sort | tr '\n' ' ')
  if [ "$exported" != "mexFunction " ]; then
    echo "$name.mex exports: $exported"; status=1
  else
    echo "$name.mex exports only mexFunction"
  fi
done
exit $status
