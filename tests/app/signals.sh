#!/usr/bin/env bash
# Ends the real program with SIGTERM, SIGINT and SIGHUP, idle on a race and with a message box
# open during the start-up loads. Each time it must exit with status 0 within 10 s and write its
# three settings.
# Usage: signals.sh PROGRAM SAMPLE_RACE OUTPUT_FOLDER
set -uo pipefail
program=$1 race=$2 out=$3
export QT_QPA_PLATFORM=offscreen
rm -rf "$out" && mkdir -p "$out"
printf 'not a race file' >"$out/bad.zq3"

failures=0
run_case() { # name signal files...
  local name=$1 signal=$2 status=0 waited=0
  shift 2
  local config="$out/$name"
  mkdir -p "$config"
  XDG_CONFIG_HOME="$config" "$program" "$@" >"$config/program.log" 2>&1 &
  local pid=$!
  sleep 2 # start-up done: idle, or waiting in the message box
  kill "-$signal" "$pid"
  while kill -0 "$pid" 2>/dev/null && [ $((waited++)) -lt 100 ]; do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    status="still running"
  else
    wait "$pid" || status=$?
  fi
  local settings="$config/VAZ/TarmioView.conf"
  if [ "$status" != 0 ] || ! grep -q '^GeneralOpts=3$' "$settings" 2>/dev/null ||
    ! grep -q '^GraphRelative=' "$settings" || ! grep -q '^GraphMirrored=' "$settings"; then
    echo "$name: SIG$signal gave exit status '$status' or left settings unwritten"
    failures=$((failures + 1))
  fi
}

run_case idle-term TERM "$race"
run_case idle-hup HUP "$race"
run_case message-box-term TERM "$out/bad.zq3"
run_case message-box-int INT "$out/bad.zq3" "$out/bad.zq3" "$race"
run_case message-box-hup HUP "$race" "$out/bad.zq3"
exit "$failures"
