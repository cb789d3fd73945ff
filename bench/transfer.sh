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

bench=transfer
# shellcheck source=bench/sim-common.sh
source "$(dirname "$0")/sim-common.sh"
pull_target_ms=150
mass_target_ms=600
command -v hyperfine >/dev/null || { echo "transfer.sh: hyperfine is not installed" >&2; exit 2; }

start_sim '^listening on 127\.0\.0\.1:\([0-9]*\)$' --port 0 --module-port 0 --latency-ms 1 \
  --seed 11
port="$sim_found"
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
