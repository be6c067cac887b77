#!/usr/bin/env bash
# Installs the Debian packages Zelvar builds and tests with. Does nothing when
# everything is already there, so `make` can call it on every run.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6test6 libgl-dev
  qt6-charts-dev libqt6opengl6-dev libopengl-dev qt6-svg-dev libxlsxwriter-dev
  coinor-libclp-dev libfreexl-dev libzip-dev libpugixml-dev
  libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps imagemagick
  python3-openpyxl python3-xlwt poppler-utils
)
# Only used by the benchmark's peer baseline; skipped there when missing.
optional=(python3-scipy)

missing=()
for p in "${packages[@]}" "${optional[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# Required packages must install; optional ones may be absent from the mirror.
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
$SUDO apt-get install -y -qq --no-install-recommends "${optional[@]}" || \
  echo "Optional packages not installed: ${optional[*]} (the scipy baseline of the benchmark is skipped)"
