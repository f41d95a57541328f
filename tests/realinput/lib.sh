# Shared functions of the real-input tier: a private X server with a window manager, the real
# program on the sample race, real key and mouse events through xdotool, and screen reading.
# Sourced by run.sh; check files use the functions below.

TV_DISPLAY_SIZE=1280x800
TV_WIDTH=1000
TV_HEIGHT=700
TV_LIST_WIDTH=360 # the left pane's opening width
# Places in the client area (the window's default fonts under Xvfb).
TV_ROW1_Y=73           # the middle of the list's first row
TV_LIST_COL0_RIGHT=100 # the right edge of the list's first column
TV_SPLIT_X=361         # the split bar

tv_pids=()
tv_failures=0
tv_checks=0

# Ends every process this tier started, newest first.
tv_cleanup() {
  local i
  for ((i = ${#tv_pids[@]} - 1; i >= 0; i--)); do
    kill "${tv_pids[i]}" 2>/dev/null && wait "${tv_pids[i]}" 2>/dev/null
  done
  tv_pids=()
}

tv_forget_pid() {
  local pid=$1 kept=() p
  for p in "${tv_pids[@]}"; do [ "$p" = "$pid" ] || kept+=("$p"); done
  tv_pids=("${kept[@]}")
}

# Waits up to $1 tenths of a second for the command after it to succeed.
tv_wait_for() {
  local tenths=$1
  shift
  local i
  for ((i = 0; i < tenths; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

tv_start_x() {
  local fd_file="$TV_OUT/display"
  exec {tv_display_fd}>"$fd_file"
  Xvfb -displayfd "$tv_display_fd" -screen 0 "${TV_DISPLAY_SIZE}x24" -nolisten tcp \
    >"$TV_OUT/xvfb.log" 2>&1 &
  tv_pids+=($!)
  tv_wait_for 100 test -s "$fd_file" || { echo "Xvfb did not start"; return 1; }
  exec {tv_display_fd}>&-
  export DISPLAY=":$(head -n1 "$fd_file")"
  openbox >"$TV_OUT/openbox.log" 2>&1 &
  tv_pids+=($!)
  tv_wait_for 100 xprop -root _NET_SUPPORTING_WM_CHECK || { echo "openbox did not start"; return 1; }
  # Scroll Lock lights its indicator only when the key is bound to a modifier, which many X
  # set-ups (Xvfb's default keymap among them) leave out.
  xmodmap -e 'add mod3 = Scroll_Lock'
  # A known keyboard state: every lock off.
  tv_locks_off
}

# The program's environment: a private home, so settings start empty and stay in the output.
tv_app_env() {
  export HOME="$TV_OUT/home"
  export XDG_CONFIG_HOME="$HOME/.config"
  export XDG_RUNTIME_DIR="$TV_OUT/runtime"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export QT_QPA_PLATFORM=xcb
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
  export TARMIO_STATUS_TRACE="$TV_OUT/status.trace"
}

TV_SETTINGS() { echo "$XDG_CONFIG_HOME/VAZ/TarmioView.conf"; }

# One start of the program; waits up to $1 seconds for its window. Sets TV_PID and TV_WID.
tv_launch_app() {
  local seconds=$1
  shift
  local args=("$@")
  if [ $# -eq 0 ]; then args=("$TV_SAMPLE"); fi
  : >"$TARMIO_STATUS_TRACE"
  "$TV_PROGRAM" "${args[@]}" >>"$TV_OUT/program.log" 2>&1 &
  TV_PID=$!
  tv_pids+=("$TV_PID")
  TV_WID=""
  local deadline=$((SECONDS + seconds))
  while [ "$SECONDS" -lt "$deadline" ]; do
    TV_WID=$(xdotool search --onlyvisible --name ' - TarmioView$' 2>/dev/null | head -n1) || true
    [ -n "$TV_WID" ] && return 0
    kill -0 "$TV_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$TV_PID" 2>/dev/null && echo "the TarmioView window did not appear within $seconds s" ||
    echo "the program ended before its window appeared"
  # What was on the screen instead, for whoever looks into it.
  xwininfo -root -tree >"$TV_OUT/no-window-tree.txt" 2>&1
  import -window root "$TV_OUT/shots/no-window.png" 2>/dev/null
  return 1
}

# Starts the program on the sample race (or on the given arguments) and waits for its window,
# which is moved to the top left and given a fixed size. Sets TV_PID and TV_WID.
# Now and then, right after a busy test run, the main window is made but never mapped (the X tree
# shows it unmanaged, the screen stays black); later starts have shown it. The first
# attempt's screen and window tree are kept, and the tier says that it started again.
tv_start_app() {
  if ! tv_launch_app 20 "$@"; then
    echo "starting the program again"
    kill "$TV_PID" 2>/dev/null && wait "$TV_PID" 2>/dev/null
    tv_forget_pid "$TV_PID"
    rm -f "$(TV_SETTINGS)"
    tv_launch_app 60 "$@" || return 1
  fi
  xdotool windowsize --sync "$TV_WID" "$TV_WIDTH" "$TV_HEIGHT"
  xdotool windowmove --sync "$TV_WID" 0 20
  xdotool windowactivate --sync "$TV_WID" 2>/dev/null || true
  tv_settle
  tv_window_geometry "$TV_WID"
  TV_X=$WIN_X TV_Y=$WIN_Y TV_W=$WIN_W TV_H=$WIN_H
}

# Lets the program handle what was sent and paint.
tv_settle() { sleep "${1:-0.2}"; }

# A window's client area on the screen: WIN_X, WIN_Y, WIN_W, WIN_H (xdotool's own geometry
# counts the window manager's frame in).
tv_window_geometry() {
  local info
  info=$(xwininfo -id "$1")
  WIN_X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  WIN_Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  WIN_W=$(sed -n 's/.*Width: *//p' <<<"$info")
  WIN_H=$(sed -n 's/.*Height: *//p' <<<"$info")
}

# Ends the program through File, Exit and waits for it; its exit status in TV_EXIT.
tv_exit_app() {
  tv_key alt+f
  tv_key x
  tv_wait_app
}

tv_wait_app() {
  TV_EXIT=0
  if ! tv_wait_for 100 tv_app_gone; then
    kill "$TV_PID" 2>/dev/null || true
    TV_EXIT=timeout
  fi
  wait "$TV_PID" 2>/dev/null || TV_EXIT=$?
  tv_forget_pid "$TV_PID"
}
tv_app_gone() { ! kill -0 "$TV_PID" 2>/dev/null; }

# A fresh program on the sample race with empty settings.
tv_restart_app() {
  if [ -n "${TV_PID:-}" ] && kill -0 "$TV_PID" 2>/dev/null; then
    kill "$TV_PID" 2>/dev/null || true
    wait "$TV_PID" 2>/dev/null || true
    tv_forget_pid "$TV_PID"
  fi
  rm -rf "$XDG_CONFIG_HOME/VAZ"
  tv_start_app "$@"
}

# Real key events to whichever window has the keyboard focus.
tv_key() {
  xdotool key --clearmodifiers --delay 30 "$@"
  tv_settle
}

# Turns off each lock the server's LED mask shows on (1 Caps Lock, 2 Num Lock, 4 Scroll Lock).
tv_locks_off() {
  local hex mask
  hex=$(xset q | sed -n 's/.*LED mask: *\([0-9a-fA-F]*\).*/\1/p')
  mask=$((16#${hex:-0}))
  ((mask & 1)) && xdotool key Caps_Lock
  ((mask & 2)) && xdotool key Num_Lock
  ((mask & 4)) && xdotool key Scroll_Lock
  return 0
}

# Mouse: moves to client coordinates (x, y) of the main window and clicks a button there.
tv_move() {
  tv_pointer_to $((TV_X + $1)) $((TV_Y + $2))
  tv_settle 0.15
}

# Moves the pointer to screen (x, y); --sync would wait in vain when it is there already.
tv_pointer_to() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  if [ "$X" != "$1" ] || [ "$Y" != "$2" ]; then xdotool mousemove --sync "$1" "$2"; fi
}
tv_click() {
  tv_move "$1" "$2"
  xdotool click "${3:-1}"
  tv_settle
}

# Screenshots. tv_shot NAME [W H X Y] of the screen (client coordinates when a region is given),
# as uncompressed PPM: quick to write and to compare byte for byte.
tv_shot() {
  local file="$TV_OUT/shots/$1.ppm"
  if [ $# -ge 5 ]; then
    import -silent -window root -crop "${2}x${3}+$((TV_X + $4))+$((TV_Y + $5))" +repage "$file"
  else
    import -silent -window root "$file"
  fi
  echo "$file"
}

# The regions the checks compare: the chart, the driver list, the status bar's indicators.
tv_shot_chart() { tv_shot "$1" $((TV_W - TV_LIST_WIDTH - 40)) $((TV_H - 120)) $((TV_LIST_WIDTH + 10)) 60; }
tv_shot_list() { tv_shot "$1" $((TV_LIST_WIDTH - 20)) $((TV_H - 120)) 4 60; }
tv_shot_panes() { tv_shot "$1" $((TV_W - 30)) $((TV_H - 120)) 4 60; }
tv_shot_indicators() { tv_shot "$1" 180 18 $((TV_W - 200)) $((TV_H - 20)); }

tv_same() { cmp -s "$1" "$2"; }
tv_differ() { ! tv_same "$1" "$2"; }

# Number of colours in an image: 1 for a blank region.
tv_colours() { convert "$1" -format '%k' info:; }

# The message pane's text as the program last set it.
tv_status() { tail -n1 "$TARMIO_STATUS_TRACE" 2>/dev/null || true; }

# Visible windows of the program other than the main window (dialogs, menus), one id a line.
tv_other_windows() {
  xdotool search --onlyvisible --pid "$TV_PID" 2>/dev/null | grep -vx "$TV_WID" || true
}

# The title of the window that has the focus.
tv_focused_title() { xdotool getwindowfocus getwindowname 2>/dev/null || true; }

# Waits for a window with exactly this title; its id in TV_DIALOG.
tv_wait_window() {
  TV_DIALOG=""
  # Generous: a loaded machine can take seconds to map a window; a pass returns at once.
  tv_wait_for 150 tv_find_window "$1"
}
tv_find_window() {
  TV_DIALOG=$(xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null | head -n1)
  [ -n "$TV_DIALOG" ]
}
tv_window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
tv_wait_window_gone() { tv_wait_for 150 tv_window_gone "$1"; }

# Geometry of the first visible popup (menu) of the program: POPUP_X POPUP_Y POPUP_W POPUP_H.
tv_popup_geometry() {
  local id
  POPUP_X="" POPUP_Y=""
  for id in $(tv_other_windows); do
    if xwininfo -id "$id" | grep -q 'Override Redirect State: yes'; then
      tv_window_geometry "$id"
      POPUP_X=$WIN_X POPUP_Y=$WIN_Y POPUP_W=$WIN_W POPUP_H=$WIN_H
      return 0
    fi
  done
  return 1
}

# One check: its name, then the command; one line out, pass or fail with the reason.
tv_check() {
  local name=$1
  shift
  tv_checks=$((tv_checks + 1))
  TV_WHY=""
  local began=$SECONDS ok=yes
  "$@" || ok=""
  # A menu or dialog left open would swallow the next check's input.
  if [ -n "${TV_PID:-}" ] && kill -0 "$TV_PID" 2>/dev/null && [ -n "$(tv_other_windows)" ]; then
    local i
    for ((i = 0; i < 3; i++)); do
      [ -n "$(tv_other_windows)" ] || break
      tv_key Escape
    done
    if [ -n "$ok" ]; then
      ok=""
      TV_WHY="left a window open"
    fi
  fi
  if [ -n "$ok" ]; then
    printf 'ok   %s\n' "$name"
  else
    printf 'FAIL %s%s\n' "$name" "${TV_WHY:+: $TV_WHY}"
    tv_failures=$((tv_failures + 1))
  fi
  echo "$((SECONDS - began)) s: $name" >>"$TV_OUT/tier.log"
}

# Sets the reason of a failing check and fails.
tv_why() { TV_WHY=$*; return 1; }

# TRUE when the region's picture (tv_shot_chart or tv_shot_list) differs from the file within
# about three seconds.
tv_becomes_other() {
  local shoot=$1 before=$2 i
  for ((i = 0; i < 15; i++)); do
    tv_differ "$before" "$($shoot changed)" && return 0
    sleep 0.2
  done
  return 1
}

# TRUE when the keys change the chart's picture (then the picture is left as the keys made it).
tv_chart_changes_on() {
  local before
  before=$(tv_shot_chart chart-before)
  tv_key "$@"
  tv_becomes_other tv_shot_chart "$before"
}

# Which pane is active: the chart when Ctrl+M turns it over (it is turned back at once).
tv_active_pane() {
  local before
  before=$(tv_shot_chart pane-before)
  tv_key ctrl+m
  tv_settle
  if tv_differ "$before" "$(tv_shot_chart pane-after)"; then
    tv_key ctrl+m
    echo chart
  else
    echo list
  fi
}

# Makes the given pane (list or chart) active with real clicks on it.
tv_activate() {
  if [ "$1" = list ]; then tv_click 150 $((TV_H - 80)); else tv_click $((TV_LIST_WIDTH + 200)) $((TV_H - 80)); fi
}

# TRUE when the keys open no window and change neither pane.
tv_keys_change_nothing() {
  local before
  before=$(tv_shot_panes nothing-before)
  tv_key "$@"
  if [ -n "$(tv_other_windows)" ]; then
    tv_key Escape
    tv_why "a window opened"
    return 1
  fi
  tv_same "$before" "$(tv_shot_panes nothing-after)" || tv_why "the panes changed"
}

# The prompts the message pane shows while Down walks n items of the open menu, joined by '|'.
tv_walk_menu() {
  local n=$1 i prompts=()
  for ((i = 0; i < n; i++)); do
    tv_key Down
    prompts+=("$(tv_status)")
  done
  local IFS='|'
  echo "${prompts[*]}"
}

tv_expect_eq() { [ "$2" = "$3" ] || tv_why "$1: expected '$2', got '$3'"; }
