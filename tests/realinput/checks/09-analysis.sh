# The chart kinds: Ctrl+2 and Ctrl+3 change the right pane while the list has the keys, Ctrl+1
# brings the same gap chart back.

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

