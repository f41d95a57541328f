# The chart kinds and the Race Summary: Ctrl+2 and Ctrl+3 change the right pane while the list
# has the keys, Ctrl+1 brings the same gap chart back; View, Race Summary opens its own window
# beside the main one, which keeps working, and Escape closes it.

check_chart_kinds() {
  tv_activate list
  local gap positions
  gap=$(tv_shot_chart kinds-gap)
  tv_key ctrl+2
  tv_becomes_other tv_shot_chart "$gap" || { tv_why "Ctrl+2 left the chart as it was"; return 1; }
  positions=$(tv_shot_chart kinds-positions)
  tv_key ctrl+3
  tv_becomes_other tv_shot_chart "$positions" || { tv_why "Ctrl+3 left the position chart"; return 1; }
  tv_shot_chart kinds-laptimes >/dev/null
  tv_key ctrl+1
  tv_settle 0.5
  tv_same "$gap" "$(tv_shot_chart kinds-gap-again)" || tv_why "Ctrl+1 did not bring the same gap chart back"
}
tv_check "Ctrl+2 and Ctrl+3 show the position and lap-time charts from the list; Ctrl+1 the gap chart again" check_chart_kinds

check_race_summary() {
  tv_key alt+v Up Return # the last item of the View menu
  tv_wait_window "Race Summary" || { tv_why "no Race Summary window (focused: $(tv_focused_title))"; return 1; }
  local summary=$TV_DIALOG
  tv_shot race-summary >/dev/null
  # Not modal: the main window takes keys again while the summary stays open.
  xdotool windowactivate --sync "$TV_WID" >/dev/null 2>&1
  tv_settle
  tv_chart_changes_on ctrl+2 || { tv_why "the main window did not take Ctrl+2 beside the summary"; return 1; }
  tv_key ctrl+1
  xdotool search --onlyvisible --name '^Race Summary$' >/dev/null 2>&1 || { tv_why "the summary closed"; return 1; }
  xdotool windowactivate --sync "$summary" >/dev/null 2>&1
  tv_settle
  tv_key Escape
  tv_wait_window_gone "$summary" || tv_why "Escape left the summary open"
}
tv_check "View, Race Summary opens a window beside the main one, which keeps working; Escape closes it" check_race_summary
