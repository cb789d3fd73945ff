#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent: does nothing
# when everything is present, runs `apt-get update` only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6network6 libqt6widgets6 libgl-dev
  qt6-qpa-plugins libxkbcommon-dev qt6-translations-l10n
  libhidapi-dev libhidapi-hidraw0 libudev-dev
  # bounded optimisers for fitting an EQ set to a room measurement
  libnlopt-dev
  # the venue service: HTTP server, WebSockets, SQL drivers, Argon2id, the MQTT client;
  # PostgreSQL and the mosquitto broker for its tests
  qt6-httpserver-dev qt6-websockets-dev libqt6sql6-sqlite libqt6sql6-psql libsodium-dev
  # the web panel's end-to-end tests drive a headless browser
  chromium chromium-driver python3-selenium
  # the HTTP front's TLS test makes its certificate with the openssl command
  openssl
  # day-parts fire in a named time zone; the schedule tests use Europe/Berlin's clock changes
  tzdata
  libmosquitto-dev
  postgresql mosquitto
  xvfb xauth imagemagick fonts-wqy-microhei fonts-dejavu-core
  hyperfine
  # packaging and its checks; the Windows cross-build of the core and Wine to test it
  lintian desktop-file-utils appstream librsvg2-bin file fakeroot
  # the report test reads its PDF's text back
  poppler-utils
  g++-mingw-w64-x86-64 wine64
  # a locale with a decimal comma, so the pages' number test runs instead of skipping
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "setup: generating the de_DE.UTF-8 locale"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
