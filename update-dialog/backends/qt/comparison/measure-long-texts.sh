#!/usr/bin/env bash
# Measures what long and pathological texts from the host cost Tessary Update,
# on a 1024 x 768 virtual display of its own:
#   - CPU while the status file's 100 KB message changes at every tick (4 Hz);
#   - start to mapped window with one letter carrying 50,000 combining marks;
#   - Return to exit while that text changes at every tick (and a short one);
#   - resident memory with a message of almost 1 MiB, and with a short one.
# Prints the load average before and after: the machine may be shared.
#
#   measure-long-texts.sh <Tessary Update> [CPU seconds, default 20] [rounds, default 5]
set -euo pipefail
dialog=$(realpath "${1:?usage: measure-long-texts.sh <Tessary Update> [CPU seconds] [rounds]}")
seconds=${2:-20}
rounds=${3:-5}
here=$(cd "$(dirname "$0")" && pwd)
probe=$(dirname "$dialog")/comparison/dialog-probe
writer="$here/long_texts_writer.mjs"

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
writer_pid=""
trap 'kill $writer_pid $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"
export XDG_RUNTIME_DIR="$work"

status="$work/status.json"
arguments() { echo "$status" 1.4.2 /nonexistent.png "$(($(date +%s) - 60))"; }
start_writer() { node "$writer" "$status" "$1" "$2" & writer_pid=$!; sleep 0.5; }
stop_writer() { kill "$writer_pid" 2>/dev/null; wait "$writer_pid" 2>/dev/null || true; writer_pid=""; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
maximum() { sort -n | tail -1; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

# CPU while a 100 KB message changes at every tick.
start_writer message-100k 250
for _ in $(seq "$rounds"); do
  # shellcheck disable=SC2046
  "$probe" "$seconds" "$dialog" $(arguments) | field cpu_percent >>"$work/cpu"
done
stop_writer
echo "100 KB message changing every tick: CPU median $(median <"$work/cpu") %, max $(maximum <"$work/cpu") % of a core ($rounds runs of $seconds s)"

# Start to mapped window with 50,000 combining marks on one letter.
start_writer marks 0
for _ in $(seq "$rounds"); do
  # shellcheck disable=SC2046
  "$probe" 0 "$dialog" $(arguments) | field mapped_ms >>"$work/mapped"
done
echo "50,000 combining marks: start to mapped window median $(median <"$work/mapped") ms, max $(maximum <"$work/mapped") ms"

# Return while the text changes at every tick, from the key press to the exit:
# with the marks, and with a short text for comparison.
for kind in marks short; do
  start_writer "$kind" 250
  : >"$work/latency"
  for _ in $(seq "$rounds"); do
    # shellcheck disable=SC2046
    "$dialog" $(arguments) &
    pid=$!
    window=""
    until window=$(xdotool search --onlyvisible --pid "$pid" --name "Tessary Update" 2>/dev/null | head -1); do
      sleep 0.05
    done
    sleep 2
    xdotool windowfocus --sync "$window"
    pressed=$(now_ms)
    xdotool key Return
    wait "$pid" || true
    echo $(($(now_ms) - pressed)) >>"$work/latency"
    xdotool keyup Return  # the window is gone before the key's release reaches it
  done
  stop_writer
  echo "Return with the $kind text changing every tick: to exit median $(median <"$work/latency") ms, max $(maximum <"$work/latency") ms"
done

# Resident memory, 2 s after the window is mapped.
for kind in message-1m short; do
  start_writer "$kind" 0
  # shellcheck disable=SC2046
  "$probe" 0 "$dialog" $(arguments) | field rss_kb | awk -v kind="$kind" '{ printf "resident memory with %s: %.1f MB\n", kind, $1 / 1024 }'
done

echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
