#!/usr/bin/env bash
# Makes the Octave package, installs it with pkg into a throw-away prefix
# (its own HOME, pkg install -local), loads it and runs its self-test, its
# built-in tests (pkg test) and checks help and the exported symbols: the
# package installs the Octave-native plug-ins (.oct), each exporting only
# the installer G<name> that Octave looks up.
#   check_package.sh [BUILD_DIR]
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
tarball=$(bash "$top/scripts/package.sh" "${1:-$top/build}" | tail -n 1)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
log=$tmp/octave.log
status=0
cd "$tmp"   # pkg test writes its log into the current folder
HOME=$tmp octave-cli --norc --no-history --quiet --no-window-system --eval "
  pkg prefix '$tmp/pkg' '$tmp/pkg';
  pkg local_list '$tmp/octave_packages';
  pkg install -local '$tarball';
  pkg load periodicwavelets;
  printf ('installed in %s\n', fileparts (which ('wavelet_analysis')));
  periodicwavelets_selftest ();
  assert (! isempty (strfind (get_help_text ('wavelet_filters'), '[H0, H1, G0, G1] = wavelet_filters (NAME)')));
  pkg test periodicwavelets;
  pkg unload periodicwavelets;
  assert (exist ('wavelet_analysis') == 0, 'still on the path after pkg unload');
" >"$log" 2>&1 || status=$?
grep -v 'ignoring const execution_exception' "$log" || true
[ $status -eq 0 ] || { echo "FAILED: octave exited with $status"; exit 1; }
grep -q '^periodicwavelets: plug-ins, help texts and' "$log" || { echo "FAILED: no self-test report"; exit 1; }
# pkg test ends with a summary: the package's tests must all pass.
passed=$(sed -n 's/^ *PASS *\([0-9][0-9]*\)$/\1/p' "$log" | tail -n 1)
failed=$(sed -n 's/^ *FAIL *\([0-9][0-9]*\)$/\1/p' "$log" | tail -n 1)
if [ -z "$passed" ] || [ "$passed" -eq 0 ] || [ "${failed:-0}" -ne 0 ]; then
  echo "FAILED: pkg test passed ${passed:-none}, failed ${failed:-?}"; exit 1
fi
grep -q "^installed in .*-api-v" "$log" || { echo "FAILED: plug-ins not in the architecture folder"; exit 1; }
octs=$(find "$tmp/pkg" -name '*.oct')
count=$(grep -c '^plugin[[:space:]]' "$top/plugins.txt")
[ "$(wc -l <<<"$octs")" -eq "$count" ] || { echo "FAILED: expected $count installed plug-ins: $octs"; exit 1; }
[ -z "$(find "$tmp/pkg" -name '*.mex')" ] || { echo "FAILED: .mex files installed"; exit 1; }
for f in $octs; do
  exported=$(nm -D --defined-only "$f" | awk '{print $NF}' | tr '\n' ' ')
  [ "$exported" = "G$(basename "$f" .oct) " ] || { echo "FAILED: $f exports $exported"; exit 1; }
  [ -f "${f%.oct}.m" ] || { echo "FAILED: no help file beside $f"; exit 1; }
done
echo "package $(basename "$tarball"): installed, loaded, $passed built-in tests passed, .oct plug-ins exporting only their installers"
