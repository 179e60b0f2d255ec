#!/usr/bin/env bash
# Starts Tessary Service the given number of times (default 300) with descriptors
# 0, 1 and 2 all closed, and checks each time that the runtime started and got
# the null device on them, its arguments and environment unchanged, and no
# ELECTRON_RUN_AS_NODE. The runtime answers on descriptor 3.
#
# Usage: launcher_closed_descriptors.sh <Tessary Service> [starts]
set -euo pipefail
launcher=$1
starts=${2:-300}
probe="$(cd "$(dirname "$0")" && pwd)/launcher_probe.js"
report=$(mktemp)
trap 'rm -f "$report"' EXIT

started=$SECONDS
for ((i = 1; i <= starts; i++)); do
  : >"$report"
  status=0
  ELECTRON_RUN_AS_NODE=1 STRESS_MARK=kept "$launcher" "$probe" closed "" "two words" --inspect -e ünïcödé -- \
    0<&- 1>&- 2>&- 3>"$report" || status=$?
  answer=$(<"$report")
  if [ "$status" -ne 0 ] || [ "$answer" != ok ]; then
    echo "launcher, descriptors closed: start $i of $starts: status $status, runtime says: ${answer:-nothing}" >&2
    exit 1
  fi
done
echo "launcher, descriptors closed: $starts starts in $((SECONDS - started)) s, the runtime started and got everything unchanged every time"
