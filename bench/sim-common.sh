# Shared by the benchmark scripts that drive tavelo-cli against tavelo-sim on loopback.
# Source it after setting `bench` (the script's name, for messages); it sets `cli`, `sim`
# and `work` (a temporary folder removed on exit, with the simulator stopped first).
#
#   start_sim PATTERN SIM_ARGS...   starts tavelo-sim on 127.0.0.1 and waits until a line
#                                   of its log matches PATTERN (a sed regex); sets
#                                   `sim_found` to the first group PATTERN captures.
#                                   Not in $(...): the simulator's pid must stay here.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-${TAVELO_BUILD_DIR:-$root/build}}"
cli="$build/apps/tavelo-cli/tavelo-cli"
sim="$build/apps/tavelo-sim/tavelo-sim"

for tool in "$cli" "$sim"; do
  [ -x "$tool" ] || { echo "$bench: $tool is not built" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/tavelo-$bench.XXXXXX")"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

start_sim() {
  local pattern="$1"
  shift
  sim_found=""
  "$sim" --listen 127.0.0.1 "$@" >"$work/sim.log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 1 100); do
    sim_found="$(sed -n "s/$pattern/\1/p" "$work/sim.log" | head -n 1)"
    [ -n "$sim_found" ] && break
    kill -0 "$sim_pid" 2>/dev/null || { cat "$work/sim.log" >&2; exit 1; }
    sleep 0.1
  done
  [ -n "$sim_found" ] || { echo "$bench: tavelo-sim did not start" >&2; exit 1; }
}
