#!/usr/bin/env bash
# Rewrites every include of a core header to name it from src/ ("params/X.h" becomes
# "core/params/X.h"), the one include root of the tree, and drops src/core from the core
# libraries' include paths so the short form cannot come back. Idempotent; run from the
# top of the tree, then build.
set -euo pipefail
cd "$(dirname "$0")/.."
areas=$(cd src/core && ls -d */ | tr -d / | paste -sd'|')
files=$(git ls-files 'src/*' 'apps/*' 'tests/*' 'bench/*' 'fuzz/*' | grep -E '\.(h|cpp)$')
python3 - "$areas" $files <<'PY'
import os, re, sys
areas, files = sys.argv[1], sys.argv[2:]
pattern = re.compile(r'^(\s*#\s*include\s+")((?:%s)/[^"]+)"' % areas, re.M)
changed = 0
for path in files:
    text = open(path, encoding="utf-8").read()
    def fix(m):
        return m.group(1) + "core/" + m.group(2) + '"' if os.path.exists("src/core/" + m.group(2)) else m.group(0)
    new = pattern.sub(fix, text)
    if new != text:
        open(path, "w", encoding="utf-8").write(new)
        changed += 1
print(f"one-include-root: {changed} files rewritten")
PY
sed -i 's| ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})| ${CMAKE_SOURCE_DIR}/src)|' src/core/CMakeLists.txt
sed -i 's| ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/core)| ${CMAKE_SOURCE_DIR}/src)|' tests/packaging/CMakeLists.txt
git ls-files 'src/*' 'apps/*' 'tests/*' 'bench/*' 'fuzz/*' | grep -E '\.(h|cpp)$' | xargs clang-format -i
