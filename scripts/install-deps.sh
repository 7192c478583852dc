#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# skipping those already present. Runs apt-get as root (or through sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins qt6-svg-dev qt6-translations-l10n
  libpng-dev libjpeg-dev libtiff-dev libgif-dev libwmf-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool xclip x11-utils imagemagick python3-pil openbox fonts-dejavu-core
  xdg-utils shared-mime-info file desktop-file-utils appstream
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils libsane-dev sane-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
