#!/usr/bin/env bash
# Whole-process time of `Tessary Service -e 0` against `node -e 0`, measured side by side in one
# hyperfine run, and the ratio of the two means (target: at most 1.03).
#
# Usage: startup.sh [build folder] [runs]
#   build folder  the CMake build folder (default: build/launcher of the repository)
#   runs          runs of each command (default: 300)
set -euo pipefail

repository=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$repository/build/launcher}
runs=${2:-300}
launcher="$build/service-launcher/Tessary Service.app/Contents/MacOS/Tessary Service"

command -v hyperfine >/dev/null || { echo "startup.sh: hyperfine is not installed" >&2; exit 2; }
[ -x "$launcher" ] || { echo "startup.sh: no launcher at $launcher (build it first)" >&2; exit 2; }
# The runtime the framework stand-in starts, as found at configure time.
node=$(sed -n 's/^TESSARY_NODE_EXECUTABLE:FILEPATH=//p' "$build/CMakeCache.txt")
[ -x "$node" ] || { echo "startup.sh: no Node.js runtime recorded in $build/CMakeCache.txt" >&2; exit 2; }

results=$(mktemp)
trap 'rm -f "$results"' EXIT

hyperfine --shell=none --warmup 20 --runs "$runs" --export-json "$results" \
    --command-name "Tessary Service -e 0" "'$launcher' -e 0" \
    --command-name "node -e 0" "'$node' -e 0"

"$node" -e '
const [launcher, node] = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8")).results;
const ms = (s) => (s * 1000).toFixed(2) + " ms";
console.log(`mean    ${ms(launcher.mean)} against ${ms(node.mean)}: ratio ${(launcher.mean / node.mean).toFixed(4)}`);
console.log(`median  ${ms(launcher.median)} against ${ms(node.median)}: ratio ${(launcher.median / node.median).toFixed(4)}`);
' "$results"
