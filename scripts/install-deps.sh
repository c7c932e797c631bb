#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Tovali Explorer,
# and the packages named as arguments (scripts/package-test.sh names its
# tools). Installs only what is missing; runs apt-get update first when it
# installs.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtkmm-3.0-dev libwebkit2gtk-4.1-dev glib-networking libcrypt-dev
  libglib2.0-dev-bin librsvg2-common
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  python3 python3-gi gir1.2-gtk-3.0
  libsodium-dev minisign openssl
  libpsl-dev publicsuffix
  xvfb xauth xdotool imagemagick x11-utils libx11-dev openbox
  adwaita-icon-theme fonts-dejavu-core
  dbus at-spi2-core python3-pyatspi
  stress-ng
  dpkg-dev file gettext
  clang libclang-rt-14-dev clang-format clang-tidy
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
