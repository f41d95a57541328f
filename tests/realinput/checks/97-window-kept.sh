# The window's place, the list's width and background and the Race Summary's place come back at
# the next start; the Race Summary first opens beside the main window, off the chart.

# The Race Summary's window id in SUMMARY_WID, opened through View's last item but two.
open_race_summary() {
  tv_key alt+v
  tv_key Up Up Up
  tv_key Return
  tv_wait_window "Race Summary" || { tv_why "no Race Summary window"; return 1; }
  SUMMARY_WID=$TV_DIALOG
}

check_window_kept() {
  tv_restart_app
  xdotool windowsize --sync "$TV_WID" 760 560
  xdotool windowmove --sync "$TV_WID" 30 60
  tv_settle 0.5
  tv_window_geometry "$TV_WID"
  TV_X=$WIN_X TV_Y=$WIN_Y TV_W=$WIN_W TV_H=$WIN_H
  local main="$WIN_X $WIN_Y $WIN_W $WIN_H"
  # The split bar dragged 80 pixels to the left.
  tv_move "$TV_SPLIT_X" 200
  xdotool mousedown 1
  tv_move $((TV_SPLIT_X - 80)) 200
  xdotool mouseup 1
  tv_settle
  # White behind the list: the third item of its menu.
  tv_click 60 "$TV_ROW1_Y"
  tv_key Menu
  tv_key Up
  tv_key Return
  open_race_summary || return 1
  tv_window_geometry "$SUMMARY_WID"
  [ "$WIN_X" -ge $((TV_X + TV_W)) ] || { tv_why "the summary opened at x $WIN_X over the window (right edge $((TV_X + TV_W)))"; return 1; }
  local summary="$WIN_X $WIN_Y $WIN_W $WIN_H"
  xdotool windowactivate --sync "$TV_WID" 2>/dev/null || true
  tv_settle
  local list
  list=$(tv_shot list-split 80 40 $((TV_SPLIT_X - 120)) $((TV_H - 80)))
  # Left of the dragged bar the list shows white; right of it, the chart.
  [ "$(convert "$list" -format '%[pixel:p{2,2}]' info:)" = 'srgb(255,255,255)' ] || { tv_why "the list is not white"; return 1; }
  [ "$(convert "$list" -format '%[pixel:p{60,2}]' info:)" != 'srgb(255,255,255)' ] || { tv_why "the bar did not move"; return 1; }
  tv_exit_app
  tv_launch_app 30 || return 1
  tv_settle 0.5
  tv_window_geometry "$TV_WID"
  tv_expect_eq "window place" "$main" "$WIN_X $WIN_Y $WIN_W $WIN_H" || return 1
  tv_same "$list" "$(tv_shot list-split-again 80 40 $((TV_SPLIT_X - 120)) $((TV_H - 80)))" ||
    { tv_why "the list's width or background is not as it was"; return 1; }
  xdotool windowactivate --sync "$TV_WID" 2>/dev/null || true
  tv_settle
  open_race_summary || return 1
  tv_window_geometry "$SUMMARY_WID"
  tv_expect_eq "summary place" "$summary" "$WIN_X $WIN_Y $WIN_W $WIN_H" || return 1
  tv_key Escape
  tv_wait_window_gone "$SUMMARY_WID"
}
tv_check "the window, the list and the Race Summary open where the last run left them" check_window_kept

# What follows expects the program as the tier first starts it.
tv_restart_app
