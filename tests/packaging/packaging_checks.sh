#!/usr/bin/env bash
# Checks of the installed files. Usage: packaging_checks.sh CHECK BUILD_DIR TEST_DIR APP_ID
#   install_files  `cmake --install` writes exactly expected-install.txt, all under the prefix
#   validators     desktop-file-validate and appstreamcli accept the entry and the metainfo
#   completion     the bash completion of the three programs offers their commands, options,
#                  every set name and the values of options and names that take words
#   manuals        the manual pages name only options and commands the programs have
# Exit 77: a tool the check needs is missing (ctest shows it as skipped).
set -euo pipefail
check="$1" build="$2" here="$3" id="$4"
cli="$build/apps/tavelo-cli/tavelo-cli"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Installs into a throw-away root with a prefix of its own; returns the prefix folder.
install_tree() {
  DESTDIR="$work/root" cmake --install "$build" --prefix /opt/tavelo-check >/dev/null
  echo "$work/root/opt/tavelo-check"
}

case "$check" in
install_files)
  prefix="$(install_tree)"
  outside="$(cd "$work/root" && find . ! -type d ! -path './opt/tavelo-check/*')"
  [ -z "$outside" ] || fail "installed outside the prefix: $outside"
  (cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$work/got"
  sed "s|@ID@|$id|g" "$here/expected-install.txt" | LC_ALL=C sort >"$work/want"
  diff -u "$work/want" "$work/got" || fail "installed files differ from expected-install.txt (- expected, + installed)"
  for program in tavelo tavelo-cli tavelo-sim; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
  done
  for size in 16 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || continue
    # PNG width and height are big-endian at bytes 16..23.
    dims="$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ')"
    want=" 0 0 $((size >> 8)) $((size & 255)) 0 0 $((size >> 8)) $((size & 255))"
    [ "$dims" = "$want" ] || fail "$size px icon is not ${size}x${size}:$dims"
  done
  ;;
validators)
  for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is missing (scripts/setup.sh installs desktop-file-utils and appstream)"
      exit 77
    fi
  done
  prefix="$(install_tree)"
  desktop="$prefix/share/applications/$id.desktop"
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
  metainfo="$prefix/share/metainfo/$id.metainfo.xml"
  appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"
  # An address in the metainfo is one the packager gave, never a made-up one.
  if grep -n 'example\.\(org\|com\|net\)' "$metainfo"; then
    fail "$id.metainfo.xml points at a placeholder address"
  fi
  for key in 'Name' 'Name\[zh_CN\]' 'Comment' 'Comment\[zh_CN\]'; do
    grep -q "^$key=." "$desktop" || fail "$id.desktop has no $key"
  done
  grep -qx 'Categories=AudioVideo;Audio;' "$desktop" || fail "$id.desktop categories"
  grep -qx "Icon=$id" "$desktop" || fail "$id.desktop names another icon than $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo launches another desktop id"
  ;;
completion)
  # shellcheck source=/dev/null
  source "$build/packaging/tavelo-cli"
  complete_line() { # program words... ; the last word is the one being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    case "$1" in
      tavelo) _tavelo_panel ;;
      tavelo-sim) _tavelo_sim ;;
      *) _tavelo_cli ;;
    esac
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
  }
  expect() { # description, expected lines, words...
    local what="$1" want="$2"
    shift 2
    local got
    got="$(complete_line "$@")"
    [ "$got" = "$want" ] || fail "$what: offered [${got//$'\n'/ }], expected [${want//$'\n'/ }]"
  }
  expect "command" "set
show
status" tavelo-cli s
  expect "link option" "--link
--lock-key" tavelo-cli status --l
  # (the program name is word 0 in bash; any word will do here)
  expect "link kinds" "demo
usb
wifi" tavelo-cli status --link ""
  expect "a name for set" "reverb.level.on=
reverb.level=" tavelo-cli set reverb.leve
  expect "no link options for the Wi-Fi module" "--module-port" tavelo-cli wifi-ap --mo
  [ -z "$(complete_line tavelo-cli wifi-ap --li)" ] || fail "wifi-ap offers --link"
  expect "fleet commands" "pull
push" tavelo-cli fleet pu
  expect "fleet options" "--jobs
--json" tavelo-cli fleet status --j
  [ -z "$(complete_line tavelo-cli fleet pull --li)" ] || fail "fleet pull offers --link"
  expect "equaliser sets for eq-import" "music_eq" tavelo-cli eq-import mus
  expect "equaliser sets for eq-export" "main_eq_1
main_eq_2" tavelo-cli eq-export --link demo main
  expect "commands after help" "set
show
status" tavelo-cli help s
  expect "fleet commands after help fleet" "pull
push" tavelo-cli help fleet pu
  expect "report languages" "en
zh" tavelo-cli report f.par --lang ""
  expect "a command after options" "status" tavelo-cli --link demo --demo-seed 3 sta
  expect "options after options and the command" "--link
--lock-key" tavelo-cli --link demo status --l
  expect "a value after NAME=" "app_mode=auto
app_mode=dance
app_mode=sing" tavelo-cli set app_mode=
  expect "a value after NAME= as bash splits it" "sing" tavelo-cli set app_mode = s
  expect "the rest after NAME= as bash splits it" "=auto
=dance
=sing" tavelo-cli set app_mode =
  expect "on or off" "mic.mic1_volume.on=off
mic.mic1_volume.on=on" tavelo-cli set --link demo mic.mic1_volume.on=o
  [ -z "$(complete_line tavelo-cli set music.volume=)" ] || fail "set music.volume= offers words"
  expect "--link=VALUE" "--link=demo" tavelo-cli status --link=d
  expect "demo faults" "drop-after
drop-reply" tavelo-cli status --demo-fault dro
  expect "the panel's pages" "sur
swout
system" tavelo --page s
  expect "the panel's languages" "en
zh" tavelo --lang ""
  expect "the simulator's faults" "drop-after
drop-reply" tavelo-sim --fault dro
  # The panel's and the simulator's options are the ones their help lists.
  for program in tavelo tavelo-sim; do
    QT_QPA_PLATFORM=offscreen "$build/apps/$program/$program" --help 2>&1 |
      grep -o -- '--[a-z][a-z-]*' | grep -vx -e --help -e --version | LC_ALL=C sort -u >"$work/listed"
    complete_line "$program" - | grep -vx -e --help -e --version >"$work/offered"
    diff -u "$work/listed" "$work/offered" || fail "$program completion options differ from $program --help"
  done
  # Every name `set --list` prints, and nothing else.
  "$cli" set --list | awk '{print $1 "="}' | LC_ALL=C sort -u >"$work/want"
  complete_line tavelo-cli set "" >"$work/got"
  diff -u "$work/want" "$work/got" >/dev/null ||
    fail "set names differ from 'tavelo-cli set --list': $(diff "$work/want" "$work/got" | head -5)"
  # The commands are the ones the program's help lists (plus help itself).
  "$cli" --help 2>&1 | sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\{0,1\}$/\1/p' | LC_ALL=C sort -u >"$work/help"
  [ -s "$work/help" ] || fail "no commands found in 'tavelo-cli --help'"
  complete_line tavelo-cli "" | grep -vx help >"$work/offered"
  diff -u "$work/help" "$work/offered" || fail "completion commands differ from tavelo-cli --help"
  ;;
manuals)
  export QT_QPA_PLATFORM=offscreen
  for program in tavelo tavelo-cli tavelo-sim tavelo-hub; do
    page="$here/../../packaging/man/$program.1"
    help="$("$build/apps/$program/$program" --help 2>&1 || true)"
    # The options the page describes: the item heads (the line after each .TP).
    sed -n '/^\.TP/{n;p}' "$page" | grep -o '\\-\\-[a-z][a-z\\-]*' | sed 's/\\//g' |
      sort -u >"$work/options"
    while read -r option; do
      grep -q -- "$option\b" <<<"$help" || fail "$program.1 names $option, which $program --help does not"
    done <"$work/options"
    if command -v man >/dev/null && command -v groff >/dev/null; then
      warnings="$(LC_ALL=C MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)"
      [ -z "$warnings" ] || fail "$program.1: $warnings"
    fi
  done
  "$cli" --help 2>&1 | sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\{0,1\}$/\1/p' | LC_ALL=C sort -u >"$work/help"
  sed -n '/^\.SH COMMANDS/,/^\.SH /{/^\.TP/{n;s/^\.BI\{0,1\} \([a-z\\-]*\).*/\1/p}}' \
    "$here/../../packaging/man/tavelo-cli.1" | sed 's/\\//g' | LC_ALL=C sort -u >"$work/man"
  diff -u "$work/help" "$work/man" || fail "tavelo-cli.1 commands differ from tavelo-cli --help"
  ;;
*)
  echo "unknown check $check" >&2
  exit 2
  ;;
esac
[ "$failures" -eq 0 ] || exit 1
echo "$check: ok"
