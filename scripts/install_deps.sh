#!/usr/bin/env bash
# Installs, through apt, whatever of the build and test tools is missing.
# Runs apt as root, or through sudo when not root.  Extra package names may be
# passed as arguments.
set -eu

packages=(cmake make g++ octave liboctave-dev libgtest-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "missing packages: ${missing[*]}; run as root or install sudo" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
