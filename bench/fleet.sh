#!/usr/bin/env bash
# `tavelo-cli fleet verify` of 50 rooms against tavelo-sim --count 50 on loopback, every
# processor answering each request 1 ms late like a close Wi-Fi processor. Targets: at most
# 0.5 s wall-clock a run and under 50 MB resident (measured with /usr/bin/time -v). For
# comparison, the same 50 rooms read one after another by 50 single `pull` runs.
#
#   bench/fleet.sh [BUILD_DIR]        (default: $TAVELO_BUILD_DIR or build/)
#   RUNS=N bench/fleet.sh             (verify runs measured, default 10)
#
# Talks only to 127.0.0.1 and writes only into a temporary folder, removed at the end.
set -euo pipefail

bench=fleet
# shellcheck source=bench/sim-common.sh
source "$(dirname "$0")/sim-common.sh"
rooms=50
runs="${RUNS:-10}"
target_s=0.5
target_mb=50
[ -x /usr/bin/time ] || { echo "fleet.sh: /usr/bin/time (GNU time) is not installed" >&2; exit 2; }

start_sim "^\(all\) $rooms processors listening.*" --port 0 --count "$rooms" --latency-ms 1 \
  --seed 21
sed -n 's/^processor \([0-9]*\): listening on 127\.0\.0\.1:\([0-9]*\)$/room-\1 127.0.0.1 \2/p' \
  "$work/sim.log" >"$work/venue.txt"

# The reference presets: each room's own, so every verify run finds all 50 the same.
"$cli" fleet pull "$work/venue.txt" "$work/golden" >/dev/null

walls=()
peak_kb=0
for i in $(seq 1 "$runs"); do
  /usr/bin/time -v -o "$work/time.txt" "$cli" fleet verify "$work/venue.txt" "$work/golden" \
    >"$work/verify.txt" || { cat "$work/verify.txt" >&2; exit 1; }
  wall="$(sed -n 's/^\tElapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")"
  kb="$(sed -n 's/^\tMaximum resident set size (kbytes): //p' "$work/time.txt")"
  walls+=("$wall")
  [ "$kb" -gt "$peak_kb" ] && peak_kb="$kb"
done
tail -n 1 "$work/verify.txt"

start="$(date +%s.%N)"
while read -r name host port; do
  "$cli" pull "$work/single-$name" --host "$host" --port "$port" >/dev/null 2>&1
done <"$work/venue.txt"
end="$(date +%s.%N)"

python3 - "$target_s" "$target_mb" "$peak_kb" "$start" "$end" "$rooms" "${walls[@]}" <<'PY'
import sys
target_s, target_mb, peak_kb = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3])
start, end, rooms = float(sys.argv[4]), float(sys.argv[5]), int(sys.argv[6])
def seconds(text):  # m:ss.ss
    minutes, secs = text.split(":")
    return int(minutes) * 60 + float(secs)
walls = [seconds(w) for w in sys.argv[7:]]
mean = sum(walls) / len(walls)
worst = max(walls)
mb = peak_kb / 1024
print(f"fleet verify, {rooms} rooms, 1 ms latency, {len(walls)} runs: mean {mean:.2f} s, "
      f"min {min(walls):.2f} s, max {worst:.2f} s; target {target_s} s: "
      f"{'within' if worst <= target_s else 'OVER'}")
print(f"peak resident: {mb:.1f} MB; target {target_mb:.0f} MB: "
      f"{'within' if mb < target_mb else 'OVER'}")
print(f"{rooms} single pulls in a row: {end - start:.2f} s")
PY
