#!/usr/bin/env bash
# Installs what kelpo-widget needs on Debian, then fetches the display font
# into resources/fonts. Safe to run again: it installs only the packages that
# are missing and fetches the font only when it is absent.
#
#   scripts/setup.sh widget   building and showing the widget (scripts/show.sh)
#   scripts/setup.sh tests    that, and what the tests need: the test
#                             libraries, the tools, and the desktops the
#                             scenarios start headless
set -euo pipefail
cd "$(dirname "$0")/.."

role="${1:-widget}"
widget_packages=(
  g++ cmake ninja-build pkg-config git ca-certificates
  libsimdjson-dev libcli11-dev
  libcairo2-dev libpango1.0-dev libglib2.0-dev libicu-dev libfontconfig-dev libpng-dev zlib1g-dev
  libgtk-3-dev libgtk-layer-shell-dev libwayland-dev wayland-protocols libx11-dev
  fonts-inter npm
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format clang-tidy
  dpkg-dev desktop-file-utils groff-base file
  xvfb xdotool x11-utils x11-apps x11-xserver-utils imagemagick dbus-daemon python3-gi gir1.2-glib-2.0
  sway grim util-linux
  # The desktops the scenarios run the widget on (some 360 packages, 190 MB,
  # about a minute and a half to install): GNOME (gnome-shell with XWayland),
  # KDE (kwin_wayland, kwin_x11), mutter, openbox and picom under Xvfb,
  # weston (no layer-shell).
  gnome-shell xwayland kwin-wayland kwin-x11 mutter openbox picom weston python3-xlib
  at-spi2-core gir1.2-atspi-2.0 python3-pyatspi
)
case "$role" in
  widget) packages=("${widget_packages[@]}") ;;
  tests) packages=("${widget_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "setup: unknown role '$role' (widget or tests)" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
# npm may come from elsewhere than Debian (a node install of the machine's own).
if command -v npm >/dev/null 2>&1; then
  missing=("${missing[@]/npm}")
fi
if [ -n "${missing[*]// /}" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends ${missing[*]} >/dev/null
fi

scripts/fetch-fonts.sh
