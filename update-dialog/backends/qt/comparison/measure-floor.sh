#!/usr/bin/env bash
# Tessary Update against the floor of its toolkit: beside a bare Qt dialog of
# the same contents (bare-dialog) and zenity's progress dialog (GTK 3), the one
# a Linux script would use, all in one run on a 1280 x 800 virtual display of
# its own. Prints a table:
#
# - start to mapped window, median of 9 starts each, with the status file
#   written long before the start, and written anew (renamed into place) just
#   before it, as a host does before it starts the dialog: once as a host of
#   its own may (the new file as it was written), once as the host module does
#   (the new file dated a second back, which marks it complete);
# - resident memory, 1 s after the window is mapped (median of the same starts);
# - CPU while idle with a busy bar (state "checking"; Qt's own busy bar in the
#   bare dialog; zenity --pulsate) and with a determinate bar at 40 %, the
#   median of 3 periods of 5 s, all programs side by side at the same time.
#
#   measure-floor.sh <build folder> [another Tessary Update to measure beside it [its label]]
#
# The build folder holds Tessary Update, bare-dialog and dialog-probe; the
# other program (an earlier commit's build, say) gets a column of its own,
# "Tessary Update (<label>)", by default "before".
# Installs zenity when it is missing. About a minute and a half; STARTS=<n>
# takes more starts than 9.
set -euo pipefail
build=$(cd "${1:?usage: measure-floor.sh <build folder> [another Tessary Update]}" && pwd)
other=${2:-}
label=${3:-before}
starts=${STARTS:-9}
periods=3
seconds=5
here="$build/update-dialog/backends/qt"
dialog="$here/Tessary Update"
bare="$here/comparison/bare-dialog"
probe="$here/comparison/dialog-probe"
zenity=/usr/bin/zenity

if [ ! -x "$zenity" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing zenity"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends zenity >/dev/null
fi

work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"
export XDG_RUNTIME_DIR="$work"  # keeps Qt's note about a missing one off stderr
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

now=$(date +%s)
status() { printf '{"checkedAt": %s, "state": "%s"%s}' "$now" "$1" "${2:-}"; }
download=', "latest": "1.5.0", "downloaded": 19327352, "total": 48318382, "progress": 40'
status downloading "$download" >"$work/old.json"  # written long before every start
status downloading "$download" >"$work/new.json"  # written anew just before each start
status downloading "$download" >"$work/module.json"  # the same, the host module's way
status checking >"$work/checking.json"
status downloading "$download" >"$work/downloading.json"
sleep 1

# The programs, by column: a name, then a command line for a status file and a
# bar ("busy" or "determinate").
names=()
[ -n "$other" ] && names+=("other")
names+=(dialog bare zenity)
title() {
  case $1 in
    other) echo "Tessary Update ($label)" ;;
    dialog) echo "Tessary Update" ;;
    bare) echo "bare Qt dialog" ;;
    zenity) echo "zenity --progress" ;;
  esac
}
command_for() {  # name, status file, bar
  local file=$2 bar=$3
  case $1 in
    other) printf '%s\n' "$other" "$file" 1.4.2 /nonexistent.png "$((now - 1))" ;;
    dialog) printf '%s\n' "$dialog" "$file" 1.4.2 /nonexistent.png "$((now - 1))" ;;
    bare)
      printf '%s\n' "$bare"
      [ "$bar" = busy ] && echo --busy
      echo "$file"
      ;;
    zenity)
      printf '%s\n' "$zenity" --progress --title "Tessary Update"
      if [ "$bar" = busy ]; then printf '%s\n' --text "Checking for updates…" --pulsate; else
        printf '%s\n' --text "Downloading Tessary 1.5.0…" --percentage 40
      fi
      ;;
  esac
}
run_probe() {  # name, status file, bar, probe options...
  local name=$1 file=$2 bar=$3
  shift 3
  local command
  mapfile -t command < <(command_for "$name" "$file" "$bar")
  "$probe" "$@" "${command[@]}" 2>>"$work/stderr"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*$1=\([0-9.,-]*\).*/\1/p"; }

# Starts, one program after the other in each round, so that every program
# meets the same load.
for _ in $(seq "$starts"); do
  for name in "${names[@]}"; do
    run_probe "$name" "$work/old.json" determinate --settle 1 0 >>"$work/$name.old"
    run_probe "$name" "$work/new.json" determinate --settle 0 --renew "$work/new.json" 0 >>"$work/$name.new"
    run_probe "$name" "$work/module.json" determinate --settle 0 --renew-complete "$work/module.json" 0 \
      >>"$work/$name.module"
  done
done

# Idle, side by side: every program runs through the same periods, each
# window at a place of its own.
places=(0,0 640,0 0,400 640,400)
for bar in busy determinate; do
  file="$work/checking.json"
  [ "$bar" = determinate ] && file="$work/downloading.json"
  probes=()
  for index in "${!names[@]}"; do
    name=${names[$index]}
    # Later programs settle less, so that all periods run at the same time.
    settle=$(awk -v n=${#names[@]} -v i="$index" 'BEGIN { print 1 + (n - i) * 0.5 }')
    run_probe "$name" "$file" "$bar" --at "${places[$index]}" --settle "$settle" --periods "$periods" "$seconds" \
      >"$work/$name.$bar" &
    probes+=($!)
    sleep 0.5
  done
  wait "${probes[@]}"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

figure() {  # name, file suffix, field, scale
  field "$3" <"$work/$1.$2" | median | awk -v scale="$4" '{ printf "%.1f", $1 / scale }'
}
cpu() { printf '%.2f %%\n' "$(field cpu_percent <"$work/$1.$2")"; }
row() {  # label, then one cell per program
  local line="| $1 |"
  shift
  for cell in "$@"; do line+=" $cell |"; done
  echo "$line"
}
cells() {  # how, then its arguments
  local how=$1
  shift
  for name in "${names[@]}"; do "$how" "$name" "$@"; done
}
ms() { echo "$(figure "$1" "$2" mapped_ms 1) ms"; }
mb() { echo "$(figure "$1" old rss_kb 1024) MB"; }

echo "$(nproc) CPUs, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1); load average $load_before before, $load_after after"
echo "$starts starts each; idle CPU: median of $periods periods of $seconds s, all side by side"
echo
header="| figure |"
rule="| --- |"
for name in "${names[@]}"; do header+=" $(title "$name") |"; rule+=" --- |"; done
echo "$header"
echo "$rule"
mapfile -t cells_old < <(cells ms old)
mapfile -t cells_new < <(cells ms new)
mapfile -t cells_module < <(cells ms module)
mapfile -t cells_rss < <(cells mb)
mapfile -t cells_busy < <(cells cpu busy)
mapfile -t cells_determinate < <(cells cpu determinate)
row "start to mapped window, status file written long before" "${cells_old[@]}"
row "start to mapped window, status file renamed into place just before" "${cells_new[@]}"
row "start to mapped window, the same dated as complete (the host module's way)" "${cells_module[@]}"
row "resident memory" "${cells_rss[@]}"
row "idle CPU, busy bar (state \"checking\"; zenity --pulsate)" "${cells_busy[@]}"
row "idle CPU, determinate bar" "${cells_determinate[@]}"
echo
ratio() { awk -v a="$(figure dialog "$1" mapped_ms 1)" -v b="$(figure bare "$1" mapped_ms 1)" 'BEGIN { printf "%.2f", a / b }'; }
echo "Tessary Update against the bare dialog, start to window: $(ratio old) (written long before)," \
  "$(ratio new) (just before), $(ratio module) (just before, the host module's way)"
echo "Idle CPU of each period (%):"
for name in "${names[@]}"; do
  echo "  $(title "$name"): busy $(field cpu_periods <"$work/$name.busy"), determinate $(field cpu_periods <"$work/$name.determinate")"
done
