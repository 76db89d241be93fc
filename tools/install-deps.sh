#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need (as root); skips what is there.
set -euo pipefail
pkgs=(cmake g++ make libexpat1-dev libgtest-dev libgmock-dev libwxgtk3.2-dev xvfb xauth man-db groff-base dpkg-dev clang libclang-rt-14-dev chromium lintian clang-format clang-tidy-16)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
