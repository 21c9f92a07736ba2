#!/usr/bin/env bash
# Checks each Windows plug-in's PE tables (x86_64-w64-mingw32-objdump -p):
# a 64-bit DLL that exports mexFunction and nothing else; imports the host
# operations by name from libmx.dll and libmex.dll, and otherwise only from
# system DLLs (KERNEL32, msvcrt): the C++ runtime is linked in statically.
#   check_windows.sh PLUGIN_DIR NAME...
set -eu
dir=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
def_names() { awk 'f && NF && $1 !~ /^;/ {print $1} /^EXPORTS/ {f=1}' "$here/../../host/windows/$1.def" | sort; }
mx_ops=$(def_names libmx)
mex_ops=$(def_names libmex)
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
status=0
fail() { echo "FAIL $1"; status=1; bad=1; }
for name in "$@"; do
  bad=0
  f=$dir/$name.mexw64
  [ -f "$f" ] || { fail "$name: missing $f"; continue; }
  table=$("$objdump" -p "$f")
  grep -q "file format pei-x86-64" <<<"$table" || fail "$name: not a 64-bit PE file"
  grep -q "^Characteristics .*" <<<"$table" && ! grep -q "DLL" <<<"$(grep -A12 '^Characteristics' <<<"$table")" &&
    fail "$name: not a DLL"
  exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {f=1; next} f && /^$/ {f=0} f {print $NF}' <<<"$table" | sort | tr '\n' ' ')
  [ "$exports" = "mexFunction " ] || fail "$name: exports '$exports'"
  # Imports, one "DLL symbol" a line.
  imports=$(awk '/DLL Name:/ {dll=tolower($3); next} dll && /^$/ {dll=""} dll && NF==3 && $2 ~ /^[0-9]+$/ {print dll, $3}' <<<"$table")
  dlls=$(awk '{print $1}' <<<"$imports" | sort -u | tr '\n' ' ')
  for d in $dlls; do
    case $d in
      libmx.dll|libmex.dll|kernel32.dll|msvcrt.dll) ;;
      *) fail "$name: imports from $d" ;;
    esac
  done
  got_mx=$(awk '$1=="libmx.dll" {print $2}' <<<"$imports" | sort)
  got_mex=$(awk '$1=="libmex.dll" {print $2}' <<<"$imports" | sort)
  [ -n "$got_mx" ] && [ -z "$(comm -23 <(echo "$got_mx") <(echo "$mx_ops"))" ] ||
    fail "$name: libmx.dll imports '$(echo $got_mx)'"
  [ "$got_mex" = "mexErrMsgTxt" ] && [ -n "$(comm -12 <(echo "$got_mex") <(echo "$mex_ops"))" ] ||
    fail "$name: libmex.dll imports '$(echo $got_mex)'"
  for op in mxGetPr mxGetM mxGetN mxCreateDoubleMatrix_700; do
    grep -qx "$op" <<<"$got_mx" || fail "$name: does not import $op from libmx.dll"
  done
  [ $bad -eq 0 ] && echo "ok $name.mexw64: exports mexFunction; imports from $dlls"
done
exit $status
