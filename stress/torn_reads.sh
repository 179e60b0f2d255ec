#!/usr/bin/env bash
# The dialog's reading of the status file, as fast as it goes, against torn-writer
# rewriting the file in place in chunks, each whole version left in place for
# 100 ms so that the file settles now and then, for the given seconds (default 10).
#
# Usage: torn_reads.sh <stress build folder> [seconds]
set -euo pipefail
build=$1
seconds=${2:-10}
folder=$(mktemp -d "$([ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/tessary-torn-XXXXXX")
trap 'rm -rf "$folder"' EXIT
"$build/stress/torn-writer" "$folder/status.json" "$seconds" 1 100000 >/dev/null &
writer=$!
"$build/stress/torn-read-check" "$folder/status.json" "$seconds" || status=$?
wait "$writer"
exit "${status:-0}"
