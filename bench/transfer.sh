#!/usr/bin/env bash
# Whole-set transfer times of tavelo-cli against tavelo-sim on loopback, measured with
# hyperfine: `pull` (connect, read the whole set, save a file; target <= 150 ms a run) and
# `mass-push` of 10 files (target <= 600 ms a run). The simulated processor answers every
# request 1 ms late, like a close Wi-Fi processor.
#
#   bench/transfer.sh [BUILD_DIR]        (default: $TAVELO_BUILD_DIR or build/)
#
# Talks only to 127.0.0.1 and writes only into a temporary folder, removed at the end.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${TAVELO_BUILD_DIR:-$root/build}}"
cli="$build/apps/tavelo-cli/tavelo-cli"
sim="$build/apps/tavelo-sim/tavelo-sim"
pull_target_ms=150
mass_target_ms=600

for tool in "$cli" "$sim"; do
  [ -x "$tool" ] || { echo "transfer.sh: $tool is not built" >&2; exit 2; }
done
command -v hyperfine >/dev/null || { echo "transfer.sh: hyperfine is not installed" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tavelo-transfer.XXXXXX")"
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --listen 127.0.0.1 --port 0 --module-port 0 --latency-ms 1 --seed 11 >"$work/sim.log" 2>&1 &
sim_pid=$!
port=""
for _ in $(seq 1 100); do
  port="$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/sim.log")"
  [ -n "$port" ] && break
  kill -0 "$sim_pid" 2>/dev/null || { cat "$work/sim.log" >&2; exit 1; }
  sleep 0.1
done
[ -n "$port" ] || { echo "transfer.sh: tavelo-sim did not start" >&2; exit 1; }
link=(--host 127.0.0.1 --port "$port")

# Ten parameter files, one per user mode, read from the simulated processor itself.
mkdir -p "$work/files"
for i in $(seq 1 10); do
  "$cli" pull "$work/files/room$(printf %02d "$i")" --name "BENCH ROOM $i" "${link[@]}" 2>/dev/null \
    >/dev/null
done

hyperfine --warmup 3 --min-runs 30 --style basic --export-json "$work/times.json" \
  --command-name "pull" "$cli pull $work/pulled ${link[*]}" \
  --command-name "mass-push (10 files)" "$cli mass-push $work/files/* ${link[*]}"

python3 - "$work/times.json" "$pull_target_ms" "$mass_target_ms" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
targets = [float(sys.argv[2]), float(sys.argv[3])]
print()
for result, target in zip(results, targets):
    mean = result["mean"] * 1000
    verdict = "within" if mean <= target else "OVER"
    print(f"{result['command']}: mean {mean:.1f} ms +- {result['stddev'] * 1000:.1f} ms "
          f"(min {result['min'] * 1000:.1f}, max {result['max'] * 1000:.1f}); "
          f"target {target:.0f} ms: {verdict}")
PY
