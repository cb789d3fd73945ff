#!/usr/bin/env bash
# The run command: set-up, build, then start the panel on the built-in virtual processor.
# Extra arguments go to the panel (for example --lang en, or --screenshot FILE).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
build="${TAVELO_BUILD_DIR:-$root/build}"
panel="$build/apps/tavelo/tavelo"
if [ ! -x "$panel" ]; then
  echo "The panel is not built yet; showing the command-line tool against the virtual processor instead."
  exec "$build/apps/tavelo-cli/tavelo-cli" --link demo status
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [[ " $* " != *" --screenshot "* ]]; then
  cat <<MSG
There is no display here, so the panel cannot open a window.
Run it under a virtual display:
  xvfb-run -a $panel --demo
or save a picture of a page without any display:
  QT_QPA_PLATFORM=offscreen $panel --demo --lang en --page music --screenshot music.png
MSG
  exit 1
fi
cd "$root"
exec "$panel" --demo "$@"
