#!/usr/bin/env bash
# Measures Tessary Update against the bare Qt dialog of the same size, on a
# virtual display of its own: start to mapped window and resident memory
# (median of several starts), and CPU over an idle period in which Tessary
# Update polls a status file that holds a determinate download.
#
#   measure.sh <build folder> [idle seconds, default 60] [starts, default 10]
set -euo pipefail
build=$(cd "${1:?usage: measure.sh <build folder> [idle seconds] [starts]}" && pwd)
idle=${2:-60}
starts=${3:-10}
here="$build/update-dialog/backends/qt"
dialog="$here/Tessary Update"
bare="$here/comparison/bare-dialog"
probe="$here/comparison/dialog-probe"

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"
export XDG_RUNTIME_DIR="$work"  # keeps Qt's note about a missing one off the bare dialog's stderr

now=$(date +%s)
printf '{"checkedAt": %s, "state": "downloading", "latest": "1.5.0", "downloaded": 19327352, "total": 48318382, "progress": 40}' \
  "$now" >"$work/status.json"
dialog_command=("$dialog" "$work/status.json" 1.4.2 /nonexistent.png "$((now - 1))")

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }

for _ in $(seq "$starts"); do
  "$probe" 0 "${dialog_command[@]}" >>"$work/dialog.starts"
  "$probe" 0 "$bare" >>"$work/bare.starts"
  "$probe" 0 "$bare" "$work/status.json" >>"$work/polling.starts"
done
# The idle runs side by side: they are idle, and the figures are per process.
"$probe" "$idle" "${dialog_command[@]}" >"$work/dialog.idle" &
dialog_idle=$!
"$probe" "$idle" "$bare" "$work/status.json" >"$work/polling.idle" &
polling_idle=$!
"$probe" "$idle" "$bare" >"$work/bare.idle"
wait $dialog_idle $polling_idle

report() {
  local name=$1 file=$2
  printf '%-16s mapped after %6.1f ms   RSS %7.1f MB   idle CPU %6.3f %%\n' "$name" \
    "$(field mapped_ms <"$work/$file.starts" | median)" \
    "$(field rss_kb <"$work/$file.starts" | median | awk '{ print $1 / 1024 }')" \
    "$(field cpu_percent <"$work/$file.idle")"
}
echo "$(nproc) CPU(s), $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1); ${starts} starts, ${idle} s idle"
report "Tessary Update" dialog
report "bare dialog" bare
report "bare + 4 Hz poll" polling
