#!/usr/bin/env bash
# Whole-process time of `Tessary Service -e 0` against `node -e 0`, side by side, and the ratio of
# the two (target: at most 1.03).
#
# A busy machine drifts over a long benchmark, so the two commands are measured in short alternating
# hyperfine rounds (the order swapped each round) and the times of all rounds are pooled.
#
# Usage: startup.sh [build folder] [rounds] [runs per round]
#   build folder    the CMake build folder (default: build/launcher of the repository)
#   rounds          default 40
#   runs per round  runs of each command in a round (default 10)
set -euo pipefail

repository=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$repository/build/launcher}
rounds=${2:-40}
runs=${3:-10}
launcher="$build/service-launcher/Tessary Service.app/Contents/MacOS/Tessary Service"

command -v hyperfine >/dev/null || { echo "startup.sh: hyperfine is not installed" >&2; exit 2; }
[ -x "$launcher" ] || { echo "startup.sh: no launcher at $launcher (build it first)" >&2; exit 2; }
# The runtime the framework stand-in starts, as found at configure time.
node=$(sed -n 's/^TESSARY_NODE_EXECUTABLE:FILEPATH=//p' "$build/CMakeCache.txt")
[ -x "$node" ] || { echo "startup.sh: no Node.js runtime recorded in $build/CMakeCache.txt" >&2; exit 2; }

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

service=(--command-name "Tessary Service -e 0" "'$launcher' -e 0")
plain=(--command-name "node -e 0" "'$node' -e 0")
hyperfine --shell=none --warmup 20 --runs 5 --style none "${service[@]}" "${plain[@]}"
for round in $(seq 1 "$rounds"); do
    if (( round % 2 )); then order=("${service[@]}" "${plain[@]}"); else order=("${plain[@]}" "${service[@]}"); fi
    hyperfine --shell=none --runs "$runs" --style none --export-json "$results/$round.json" "${order[@]}"
done

"$node" - "$results" <<'SCRIPT'
const fs = require('fs');
const path = require('path');
const folder = process.argv[2];
const times = {};
for (const file of fs.readdirSync(folder)) {
    for (const result of JSON.parse(fs.readFileSync(path.join(folder, file), 'utf8')).results) {
        (times[result.command] ??= []).push(...result.times);
    }
}
const mean = (list) => list.reduce((sum, value) => sum + value, 0) / list.length;
const median = (list) => {
    const sorted = [...list].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ms = (seconds) => (seconds * 1000).toFixed(2).padStart(7) + ' ms';
const service = times['Tessary Service -e 0'];
const plain = times['node -e 0'];
console.log(`runs each: ${service.length}`);
console.log(`                 Tessary Service   node      ratio`);
for (const [name, statistic] of [['mean', mean], ['median', median], ['minimum', (l) => Math.min(...l)]]) {
    const [a, b] = [statistic(service), statistic(plain)];
    console.log(`${name.padEnd(16)} ${ms(a)}   ${ms(b)}   ${(a / b).toFixed(4)}`);
}
SCRIPT
