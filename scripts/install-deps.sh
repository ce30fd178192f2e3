#!/usr/bin/env bash
# Installs the Debian packages Tessaline needs to build, run and test, when missing.
# speech-dispatcher is deliberately not installed: it hangs text-to-speech users on
# machines without a sound service; the flite engine is used instead.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache lld
  qtbase5-dev qtmultimedia5-dev libqt5texttospeech5-dev libqt5serialport5-dev libqt5svg5-dev
  libqt5multimedia5-plugins qtspeech5-flite-plugin
  liblcms2-dev libusb-1.0-0-dev
  python3 socat liblcms2-utils argyll xvfb xauth imagemagick poppler-utils espeak-ng
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
