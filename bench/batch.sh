#!/usr/bin/env bash
# Measured runs of tessaran-cli over many recordings: wall time, and the CPU
# time (user + system) the run took, which a busy machine does not inflate.
#  1. 47 recordings (the three published ones copied 12 times each and
#     examples/sample.abf 11 times) with -j 1 and with the default (every core);
#  2. 1000 recordings of about 1 MB (the published ones in turn) with workbooks;
#  3. a recording copied into a watched folder (default settling time, 2 s):
#     time from its last byte to its workbook line.
#   bench/batch.sh [path/to/tessaran-cli]   (default build/release/cli/tessaran-cli)
# The figures of a run are in bench/README.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/release/cli/tessaran-cli}
work=$(mktemp -d)
watcher=
trap '[ -n "$watcher" ] && kill "$watcher" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
real=("$root"/tests/data/real/*.abf)
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

# run COMMAND...: "WALL CPU" in seconds (CPU: user + system of COMMAND).
run() {
    local TIMEFORMAT='%R %U %S' times
    times=$({ time "$@" >/dev/null 2>&1; } 2>&1) || true
    read -r wall user system <<<"$times"
    echo "$wall $(echo "$user + $system" | bc)"
}

mkdir -p "$work/47"
for i in $(seq 1 47); do
    if ((i % 4 == 0)); then cp "$root/examples/sample.abf" "$work/47/s$i.abf"
    else cp "${real[i % 3]}" "$work/47/r$i.abf"; fi
done
read -r one oneCpu < <(run "$cli" analyse "$work/47" -j 1 --force)
read -r all allCpu < <(run "$cli" analyse "$work/47" --force)
echo "47 recordings: -j 1 ${one} s (CPU ${oneCpu} s), default -j ${all} s (CPU ${allCpu} s)," \
     "ratio $(echo "scale=2; $all / $one" | bc)"

mkdir -p "$work/1000"
for i in $(seq 1 1000); do cp "${real[i % 3]}" "$work/1000/r$i.abf"; done
size=$(du -sm "$work/1000" | cut -f1)
sync
read -r t cpu < <(run "$cli" analyse "$work/1000")
written=$(find "$work/1000" -name '*.xlsx' | wc -l)
echo "1000 recordings (${size} MB): ${written} workbooks in ${t} s (CPU ${cpu} s)"

mkdir -p "$work/watched"
"$cli" watch "$work/watched" >"$work/watch.log" 2>/dev/null &
watcher=$!
sleep 1
cp "${real[2]}" "$work/watched/new.abf"
last=$(date +%s.%N)
for _ in $(seq 1 600); do
    grep -q "workbook written" "$work/watch.log" && break
    sleep 0.01
done
done_at=$(date +%s.%N)
if grep -q "workbook written" "$work/watch.log"; then
    echo "watched folder: analysed $(echo "$done_at - $last" | bc) s after the last byte"
else
    echo "watched folder: no workbook within 6 s" >&2
    exit 1
fi
