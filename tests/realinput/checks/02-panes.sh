# Each accelerator acts in its pane only.

# Each chart key changes the chart and its pair (or a second press) brings it back, with Num
# Lock off and on.
check_chart_keys_in_chart() {
  tv_key F6
  local keys lock
  for lock in off on; do
    [ "$lock" = on ] && xdotool key Num_Lock && tv_settle
    for keys in "ctrl+r ctrl+r" "ctrl+m ctrl+m" "KP_Add KP_Subtract" "KP_Subtract KP_Add"; do
      set -- $keys
      local start
      start=$(tv_shot_chart chart-keys-start)
      tv_chart_changes_on "$1" || { tv_why "$1 (Num Lock $lock) left the chart as it was"; break 2; }
      tv_key "$2"
      tv_same "$start" "$(tv_shot_chart chart-keys-end)" || { tv_why "$2 did not undo $1"; break 2; }
    done
    [ "$lock" = on ] && xdotool key Num_Lock
  done
  [ "$lock" = on ] && xdotool key Num_Lock
  tv_key F6
  [ -z "$TV_WHY" ]
}
tv_check "Ctrl+R, Ctrl+M, keypad + and - change the chart while it is active, Num Lock on or off" check_chart_keys_in_chart

# Keys whose command has no handler, or is disabled, in that pane: nothing opens or changes.
TV_IDLE_KEYS=("list ctrl+r" "list ctrl+m" "list KP_Add" "list KP_Subtract" "list ctrl+o" "list ctrl+s"
  "list ctrl+p" "list ctrl+Delete" "chart ctrl+o" "chart ctrl+s" "chart shift+Delete" "chart ctrl+x")

check_keys_change_nothing() {
  local entry
  tv_click 60 "$TV_ROW1_Y" # a selected row, so that Cut would have something to take
  for entry in "${TV_IDLE_KEYS[@]}"; do
    set -- $entry
    [ "$(tv_active_pane)" = "$1" ] || tv_key F6
    tv_keys_change_nothing "$2" || { TV_WHY="$2 in the $1: $TV_WHY"; return 1; }
  done
  tv_key F6
}
tv_check "keys of the other pane's commands, Ctrl+O, Ctrl+S and Ctrl+Delete do nothing" check_keys_change_nothing

