#!/usr/bin/env bash
# Measured runs of tessaran-cli over many recordings (wall time; the machine's
# cores as they are):
#  1. 47 recordings (copies of the published ones and of examples/sample.abf)
#     with -j 1 and with the default (every core);
#  2. 1000 recordings of about 1 MB (the published ones in turn) with workbooks;
#  3. a recording copied into a watched folder: time from its last byte to its
#     workbook line.
#   bench/batch.sh [path/to/tessaran-cli]   (default build/release/cli/tessaran-cli)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/release/cli/tessaran-cli}
work=$(mktemp -d)
trap 'kill $watcher 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
real=("$root"/tests/data/real/*.abf)

seconds() { # seconds COMMAND...: wall time of COMMAND in seconds
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

mkdir -p "$work/47"
for i in $(seq 1 47); do
    if ((i % 4 == 0)); then cp "$root/examples/sample.abf" "$work/47/s$i.abf"
    else cp "${real[i % 3]}" "$work/47/r$i.abf"; fi
done
one=$(seconds "$cli" analyse "$work/47" -j 1 --force)
all=$(seconds "$cli" analyse "$work/47" --force)
echo "47 recordings: -j 1 ${one} s, default -j ($(nproc) cores) ${all} s, ratio $(echo "scale=2; $all / $one" | bc)"

mkdir -p "$work/1000"
for i in $(seq 1 1000); do cp "${real[i % 3]}" "$work/1000/r$i.abf"; done
size=$(du -sm "$work/1000" | cut -f1)
t=$(seconds "$cli" analyse "$work/1000")
echo "1000 recordings (${size} MB) with workbooks: ${t} s"

mkdir -p "$work/watched"
"$cli" watch "$work/watched" > "$work/watch.log" 2>/dev/null &
watcher=$!
sleep 1
cp "${real[2]}" "$work/watched/new.abf"
last=$(date +%s.%N)
while ! grep -q "workbook written" "$work/watch.log"; do sleep 0.05; done
done_at=$(date +%s.%N)
echo "watched folder: analysed $(echo "$done_at - $last" | bc) s after the last byte"
