#!/usr/bin/env bash
# Cross-builds the Qt-free core and its tests for 64-bit Windows with MinGW-w64 and runs them
# under Wine. GoogleTest is built first from the sources Debian ships in /usr/src/googletest.
# Build folder: build-win/ (or $TAVELO_WIN_BUILD_DIR). Extra arguments go to ctest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TAVELO_WIN_BUILD_DIR:-$root/build-win}"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"

for tool in x86_64-w64-mingw32-g++-posix cmake ninja; do
  if ! command -v "$tool" >/dev/null; then
    echo "windows-core-tests: $tool is missing; run scripts/setup.sh first." >&2
    exit 1
  fi
done
if ! command -v wine64 >/dev/null && [ ! -x /usr/lib/wine/wine64 ]; then
  echo "windows-core-tests: wine64 is missing; run scripts/setup.sh first." >&2
  exit 1
fi
if [ ! -f /usr/src/googletest/CMakeLists.txt ]; then
  echo "windows-core-tests: /usr/src/googletest is missing (Debian package googletest)." >&2
  exit 1
fi

# The compiler cache where there is one: a CI run recompiles only what changed.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

gtest_prefix="$build/googletest-prefix"
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$gtest_prefix" "${launcher[@]}" >/dev/null
  cmake --build "$build/googletest" --parallel "$(nproc)"
  cmake --install "$build/googletest" >/dev/null
fi

echo "== core and its tests for Windows"
cmake -S "$root" -B "$build/tavelo" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" \
  -DTAVELO_BUILD_QT=OFF -DTAVELO_BUILD_BENCH=OFF -DTAVELO_WERROR=ON "${launcher[@]}" >/dev/null
# The core's test programs are the tests labelled "core", one per area of the core.
mapfile -t targets < <(ctest --test-dir "$build/tavelo" -N -L core | sed -n 's/^ *Test *#[0-9]*: //p')
if [ ${#targets[@]} -eq 0 ]; then
  echo "windows-core-tests: no core test programs were configured" >&2
  exit 1
fi
cmake --build "$build/tavelo" --parallel "$(nproc)" --target "${targets[@]}"

echo "== running under Wine"
# A Wine prefix of its own, made once; Wine's own chatter stays out of the log.
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all
ctest --test-dir "$build/tavelo" -L core --output-on-failure --timeout 600 "$@"
