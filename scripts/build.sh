#!/usr/bin/env bash
# Configures and builds into build/ (or $TAVELO_BUILD_DIR), warnings as errors. Extra arguments
# go to cmake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAVELO_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${TAVELO_BUILD_TYPE:-RelWithDebInfo}" \
  -DTAVELO_WERROR=ON "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
