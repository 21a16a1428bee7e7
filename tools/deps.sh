#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when all are present.
set -euo pipefail
PACKAGES=(qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-svg-dev
  qt6-translations-l10n libxlsxwriter-dev fonts-noto-cjk libgtest-dev libgmock-dev
  libbenchmark-dev rapidjson-dev cmake ninja-build ccache pkg-config g++ postgresql)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
