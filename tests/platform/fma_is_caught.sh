#!/usr/bin/env bash
# The macOS check must reject a plug-in whose code holds a fused multiply-add:
# builds one with contraction on (x86_64 with FMA, and arm64) and expects
# check_macos.sh to fail on it for that reason.
#   fma_is_caught.sh ZIG HOST_LIBS_X86_64 HOST_LIBS_ARM64
set -eu
zig=$1; libs_x86=$2; libs_arm=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cat >"$work/fused.cpp" <<'CPP'
extern "C" double* mxGetPr(const void*);
extern "C" void* mxCreateDoubleMatrix_700(int, int, int);
extern "C" void mexErrMsgTxt(const char*);
extern "C" unsigned long mxGetM(const void*), mxGetN(const void*);
extern "C" __attribute__((visibility("default"))) void mexFunction(int, void** out, int n, const void** in) {
    if (n != 1) mexErrMsgTxt("one argument");
    out[0] = mxCreateDoubleMatrix_700((int)mxGetM(in[0]), (int)mxGetN(in[0]), 0);
    double* x = mxGetPr(in[0]);
    mxGetPr(out[0])[0] = x[0] * x[1] + x[2];
}
CPP
status=0
for case_ in "x86_64-macos:-march=haswell:$libs_x86:.mexmaci64" "aarch64-macos::$libs_arm:.mexmaca64"; do
  IFS=: read -r target march libs suffix <<<"$case_"
  "$zig" c++ -target "$target" $march -O2 -ffp-contract=fast -fvisibility=hidden -shared -nostdlib++ \
    -o "$work/fused$suffix" "$work/fused.cpp" "$libs/libmx.dylib" "$libs/libmex.dylib" "$libs/libmat.dylib"
  if out=$(bash "$here/check_macos.sh" "$work" "$suffix" fused); then
    echo "FAIL: check_macos.sh accepted a fused multiply-add ($target)"; status=1
  elif grep -q "fused multiply-add instructions" <<<"$out"; then
    echo "ok: $target fused multiply-add rejected"
  else
    echo "FAIL: rejected for another reason ($target): $out"; status=1
  fi
done
exit $status
