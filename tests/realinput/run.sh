#!/usr/bin/env bash
# The real-input tier: the real program on a private X server with a window manager, driven by
# real key and mouse events and read back from the screen, the settings file and the status
# trace. Runs every file of checks/ in order; one line per check; non-zero exit on any failure.
# Usage: tests/realinput/run.sh [PROGRAM]   (default build/default/app/tarmioview)
# The checks of one file may rely on what the files before it left (a shorter race, a pane).
set -uo pipefail

TV_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TV_ROOT=$(cd "$TV_HERE/../.." && pwd)
TV_PROGRAM=$(realpath "${1:-$TV_ROOT/build/default/app/tarmioview}")
TV_SAMPLE="$TV_ROOT/samples/sample-race.ra3"
TV_OUT="${TARMIO_REALINPUT_OUT:-$TV_ROOT/build/realinput}"

for tool in Xvfb openbox xdotool xset xmodmap xprop xwininfo import compare convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "real-input tier: $tool is missing (scripts/setup installs it)"
    exit 1
  fi
done
if [ ! -x "$TV_PROGRAM" ]; then
  echo "real-input tier: $TV_PROGRAM is not built"
  exit 1
fi

rm -rf "$TV_OUT"
mkdir -p "$TV_OUT/shots"
# shellcheck source=lib.sh
source "$TV_HERE/lib.sh"
trap tv_cleanup EXIT
trap 'exit 130' INT TERM

started=$SECONDS
tv_app_env
tv_start_x || exit 1
tv_start_app || exit 1

# TARMIO_REALINPUT_ONLY=GLOB runs only the check files whose names match (for example '0[56]-*').
for checks in "$TV_HERE"/checks/${TARMIO_REALINPUT_ONLY:-[0-9][0-9]-*}.sh; do
  # shellcheck source=/dev/null
  source "$checks"
done

if [ -n "${TV_PID:-}" ] && kill -0 "$TV_PID" 2>/dev/null; then tv_exit_app; fi
echo "real-input tier: $tv_checks checks, $tv_failures failed, $((SECONDS - started)) s (screenshots in $TV_OUT/shots)"
[ "$tv_failures" -eq 0 ]
