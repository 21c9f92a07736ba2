#!/usr/bin/env bash
# Replays the same cases through the Linux build and, under Wine, through
# the Windows build, and requires byte-identical outcome files: the project's
# own cases (recorded on Linux by replay_linux.sh) and, when given, another
# folder of cases with their own expectations.
#   replay_wine.sh LINUX_BUILD WINDOWS_BUILD WORK_DIR [CASES_DIR]
set -eu
linux=$1; windows=$2; work=$3; extra=${4:-}
wine=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX; WINEPREFIX=$(mktemp -d)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
server=${WINESERVER:-$(dirname "$wine")/wineserver64}
trap '"$server" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
winpath() { echo "Z:$(cd "$1" && pwd)"; }

status=0
compare() {  # LABEL CASES_DIR
  local label=$1 cases=$2
  echo "== $label: Linux"
  "$linux/host-libs/replay" "$linux/plugins-matlab" .mexa64 "$cases" "$work/$label.linux.txt" || status=1
  echo "== $label: Windows under Wine"
  "$wine" "$windows/host-libs/replay.exe" "$(winpath "$windows/plugins-matlab")" .mexw64 \
    "$(winpath "$cases")" "$(winpath "$work")/$label.windows.txt" || status=1
  if cmp "$work/$label.linux.txt" "$work/$label.windows.txt"; then
    echo "$label: outcome files identical ($(wc -l <"$work/$label.linux.txt") cases)"
  else
    diff "$work/$label.linux.txt" "$work/$label.windows.txt" | head -20
    status=1
  fi
}
compare project "$work/cases"
[ -n "$extra" ] && [ -f "$extra/index.txt" ] && compare extra "$extra"
exit $status
