#!/usr/bin/env bash
# The package command: set-up, then the Debian package built from the release preset
# (build-release/), then its checks: lintian must report no errors, and the desktop entry and
# AppStream metainfo inside must validate (the metainfo pedantically). Prints the package's
# path last. The packager gives the addresses: -DTAVELO_HOMEPAGE=https://... and
# -DTAVELO_SCREENSHOT_URL=https://... as extra arguments (they go to cmake).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
cd "$root"
build="$root/build-release"

cmake --preset release "$@" >/dev/null
cmake --build --preset release --parallel "$(nproc)"
rm -f "$build"/package/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
deb="$(ls "$build"/package/*.deb)"

echo "== contents"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
dpkg-deb --contents "$deb" | awk '{print $NF}' | grep -v '/$'

checked="$(mktemp -d)"
trap 'rm -rf "$checked"' EXIT
dpkg-deb -x "$deb" "$checked"
status=0
if command -v desktop-file-validate >/dev/null; then
  echo "== desktop-file-validate"
  desktop-file-validate "$checked"/usr/share/applications/*.desktop || status=1
else
  echo "desktop-file-validate is missing (package desktop-file-utils): entry not checked" >&2
  status=1
fi
if command -v appstreamcli >/dev/null; then
  echo "== appstreamcli validate --pedantic"
  appstreamcli validate --pedantic --no-net "$checked"/usr/share/metainfo/*.metainfo.xml || status=1
else
  echo "appstreamcli is missing (package appstream): metainfo not checked" >&2
  status=1
fi
if command -v lintian >/dev/null; then
  echo "== lintian"
  # Errors fail the package; warnings are listed for a person to judge.
  lintian --fail-on error --no-tag-display-limit "$deb" || status=1
  # The binaries carry Debian's hardening (lintian reports its absence only as information).
  unhardened="$(lintian -I --tags hardening-no-relro,hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-pie "$deb" 2>/dev/null || true)"
  if [ -n "$unhardened" ]; then
    echo "$unhardened"
    status=1
  fi
else
  echo "lintian is missing: package not checked" >&2
  status=1
fi
[ "$status" -eq 0 ] || { echo "package.sh: $deb failed its checks (above)" >&2; exit 1; }
echo "$deb"
