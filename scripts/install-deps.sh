#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only when some are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev
  # Qt Charts; Debian's qt6-charts-dev needs the OpenGL module's CMake files without depending on them.
  qt6-charts-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev libicu-dev
  # Translations: lupdate and lrelease; the CMake package with qt_add_translations, which Debian keeps in
  # qt6-tools-dev; Qt's own catalogues for its buttons and dialogs.
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  python3 xvfb openbox xdotool imagemagick x11-utils
  weston qt6-wayland
  # The accessibility journeys: the bus screen readers use (at-spi2-core), a client of it, and dbus-launch.
  python3-pyatspi at-spi2-core dbus-x11
  fonts-dejavu-core
  help2man man-db lintian appstream desktop-file-utils file
  libxml2-utils shared-mime-info libglib2.0-bin bash-completion
  devscripts
  clang-format clang-tidy clazy
)

# One query for all of them: make run calls this every time, and a query per package takes seconds.
declare -A installed=()
while read -r status name; do
  [ "$status" = ii ] && installed[${name%%:*}]=1
done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null)
missing=()
for p in "${packages[@]}"; do
  [ -n "${installed[$p]:-}" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
