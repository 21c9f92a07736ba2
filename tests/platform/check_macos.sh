#!/usr/bin/env bash
# Checks each macOS plug-in with the LLVM tools: a 64-bit Mach-O dylib of the
# expected architecture whose export table holds _mexFunction (besides the
# image-header symbols that the linker defines in every dylib); whose imports
# are the host operations, bound to libmx and libmex, and the system
# library's; which links libmx, libmex and libmat by @rpath; and whose code
# holds no fused multiply-add instruction.
#   check_macos.sh PLUGIN_DIR SUFFIX NAME...     (SUFFIX .mexmaci64 or .mexmaca64)
set -eu
dir=$1; suffix=$2; shift 2
case $suffix in
  .mexmaci64) cpu=X86_64; fma='v?f(n?madd|n?msub)[0-9a-z]*' ;;
  .mexmaca64) cpu=ARM64;  fma='(fn?madd|fn?msub|fmla|fmls)' ;;
  *) echo "unknown suffix $suffix"; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
def_names() { awk 'f && NF && $1 !~ /^;/ {print "_" $1} /^EXPORTS/ {f=1}' "$here/../../host/windows/$1.def" | sort; }
mx_ops=$(def_names libmx)
mex_ops=$(def_names libmex)
status=0
fail() { echo "FAIL $1"; status=1; bad=1; }
for name in "$@"; do
  bad=0
  f=$dir/$name$suffix
  [ -f "$f" ] || { fail "$name: missing $f"; continue; }
  header=$(llvm-objdump --macho --private-header "$f" | awk '$1=="MH_MAGIC_64" {print $2, $5}')
  [ "$header" = "$cpu DYLIB" ] || fail "$name: Mach-O header '$header', wanted '$cpu DYLIB'"

  exports=$(llvm-objdump --macho --exports-trie "$f" | awk '$1 ~ /^0x/ {print $2}' |
            grep -vx -e __mh_dylib_header -e ___dso_handle | sort | tr '\n' ' ')
  [ "$exports" = "_mexFunction " ] || fail "$name: exports '$exports'"

  binds=$(llvm-objdump --macho --bind --lazy-bind --weak-bind "$f" |
          awk '$NF ~ /^_|dyld_stub_binder/ && NF >= 4 {print $(NF-1), $NF}' | sort -u)
  while read -r lib sym; do
    case $lib in
      libmx)  grep -qx -- "$sym" <<<"$mx_ops"  || fail "$name: $sym bound to libmx" ;;
      libmex) grep -qx -- "$sym" <<<"$mex_ops" || fail "$name: $sym bound to libmex" ;;
      libSystem) grep -qx -- "$sym" <<<"$mx_ops$(printf '\n')$mex_ops" && fail "$name: host operation $sym bound to libSystem" ;;
      *) fail "$name: $sym bound to $lib" ;;
    esac
  done <<<"$binds"
  undefined=$(llvm-nm -gu "$f" | awk '{print $NF}' | sort)
  bound=$(awk '{print $2}' <<<"$binds" | sort -u)
  # Left-over undefined entries that nothing binds (the linker dropped their
  # callers) must still be C library names: no C++ runtime, no host operation.
  for sym in $(comm -23 <(echo "$undefined") <(echo "$bound")); do
    case $sym in
      __Z*|_mx*|_mex*) fail "$name: undefined $sym" ;;
    esac
  done
  for op in _mxGetPr _mxGetM _mxGetN _mxCreateDoubleMatrix_700 _mexErrMsgTxt; do
    grep -qx "$op" <<<"$undefined" || fail "$name: does not use $op"
  done

  libs=$(llvm-objdump --macho --dylibs-used "$f" | awk 'NR > 2 {print $1}' | sort | tr '\n' ' ')
  [ "$libs" = "/usr/lib/libSystem.B.dylib @rpath/libmat.dylib @rpath/libmex.dylib @rpath/libmx.dylib " ] ||
    fail "$name: links '$libs'"

  fused=$(llvm-objdump -d --no-show-raw-insn "$f" | grep -ciE "^\s+[0-9a-f]+:\s+$fma\s" || true)
  [ "$fused" = 0 ] || fail "$name: $fused fused multiply-add instructions"
  [ $bad -eq 0 ] && echo "ok $name$suffix: $cpu dylib, exports _mexFunction, imports $(echo $bound | wc -w) symbols, no FMA"
done
exit $status
