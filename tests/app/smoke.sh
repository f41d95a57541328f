#!/usr/bin/env bash
# Starts the real program on a race file under a virtual X server, waits for its window, takes a
# screenshot, checks that it is not blank, and ends the program with SIGTERM, expecting exit 0.
# Usage: smoke.sh PROGRAM RACE_FILE OUTPUT_FOLDER
set -euo pipefail

program=$1
race=$2
out=$3

if [ -z "${TARMIO_SMOKE_IN_XVFB:-}" ]; then
  if ! command -v xvfb-run >/dev/null; then
    echo "skipped: xvfb-run is not installed"
    exit 0
  fi
  for tool in xwininfo import convert; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed"
      exit 0
    fi
  done
  mkdir -p "$out"
  TARMIO_SMOKE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

# Settings of this run stay in the output folder.
export XDG_CONFIG_HOME="$out/config"
unset QT_QPA_PLATFORM
args=()
if [ -f "$race" ]; then args+=("$race"); fi

"$program" "${args[@]}" >"$out/program.log" 2>&1 &
pid=$!

shown=""
for _ in $(seq 1 100); do
  if xwininfo -root -tree | grep -q ' - TarmioView"'; then
    shown=yes
    break
  fi
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$shown" ]; then
  echo "the TarmioView window did not appear"
  cat "$out/program.log"
  kill "$pid" 2>/dev/null || true
  exit 1
fi
xwininfo -root -tree | grep ' - TarmioView"' | head -1
sleep 1 # let the first paint finish

import -window root "$out/screenshot.png"
colours=$(convert "$out/screenshot.png" -format '%k' info:)
echo "screenshot: $out/screenshot.png ($colours colours)"
if [ "$colours" -lt 16 ]; then
  echo "the screenshot is blank"
  kill "$pid" 2>/dev/null || true
  exit 1
fi

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
echo "exit status: $status"
if [ "$status" -ne 0 ]; then
  cat "$out/program.log"
  exit 1
fi
if [ ! -f "$out/config/VAZ/TarmioView.conf" ]; then
  echo "the settings were not written at exit"
  exit 1
fi
