# F6 and Shift+F6 move between the panes; each accelerator acts in its pane only.

check_f6_cycles() {
  [ "$(tv_active_pane)" = list ] || { tv_why "the list was not active to begin with"; return 1; }
  tv_key F6
  [ "$(tv_active_pane)" = chart ] || { tv_why "F6 left the list active"; return 1; }
  tv_key F6
  [ "$(tv_active_pane)" = list ] || { tv_why "a second F6 left the chart active"; return 1; }
  tv_key shift+F6
  [ "$(tv_active_pane)" = chart ] || { tv_why "Shift+F6 left the list active"; return 1; }
  tv_key shift+F6
  [ "$(tv_active_pane)" = list ] || tv_why "a second Shift+F6 left the chart active"
}
tv_check "F6 and Shift+F6 move the focus between the list and the chart" check_f6_cycles

# Each chart key changes the chart and its pair (or a second press) brings it back.
check_chart_keys_in_chart() {
  tv_key F6
  local keys
  for keys in "ctrl+r ctrl+r" "ctrl+m ctrl+m" "KP_Add KP_Subtract" "KP_Subtract KP_Add"; do
    set -- $keys
    local start
    start=$(tv_shot_chart chart-keys-start)
    tv_chart_changes_on "$1" || { tv_why "$1 left the chart as it was"; return 1; }
    tv_key "$2"
    tv_same "$start" "$(tv_shot_chart chart-keys-end)" || { tv_why "$2 did not undo $1"; return 1; }
  done
}
tv_check "Ctrl+R, Ctrl+M, keypad + and - change the chart while it is active" check_chart_keys_in_chart

check_chart_keys_in_list() {
  tv_key F6
  [ "$(tv_active_pane)" = list ] || { tv_why "the list is not active"; return 1; }
  local key
  for key in ctrl+r ctrl+m KP_Add KP_Subtract; do
    tv_keys_change_nothing "$key" || { TV_WHY="$key: $TV_WHY"; return 1; }
  done
}
tv_check "the chart's keys do nothing while the list is active" check_chart_keys_in_list

check_keypad_with_num_lock() {
  tv_key F6
  xdotool key Num_Lock
  tv_settle
  local start ok=0
  start=$(tv_shot_chart numlock-start)
  tv_chart_changes_on KP_Add || ok=1
  tv_key KP_Subtract
  tv_same "$start" "$(tv_shot_chart numlock-end)" || ok=2
  xdotool key Num_Lock
  tv_key F6
  case $ok in
    1) tv_why "keypad + with Num Lock on left the chart as it was" ;;
    2) tv_why "keypad - with Num Lock on did not undo keypad +" ;;
  esac
}
tv_check "keypad + and - zoom with Num Lock on as with it off" check_keypad_with_num_lock

check_document_keys_in_both_panes() {
  local pane
  for pane in list chart; do
    [ "$(tv_active_pane)" = "$pane" ] || tv_key F6
    tv_keys_change_nothing ctrl+o || { TV_WHY="Ctrl+O in the $pane: $TV_WHY"; return 1; }
    tv_keys_change_nothing ctrl+s || { TV_WHY="Ctrl+S in the $pane: $TV_WHY"; return 1; }
  done
  tv_key F6
}
tv_check "Ctrl+O and Ctrl+S do nothing in either pane" check_document_keys_in_both_panes

check_add_dialog() {
  local pane
  for pane in list chart; do
    [ "$(tv_active_pane)" = "$pane" ] || tv_key F6
    tv_key ctrl+a
    local dialog
    dialog=$(tv_other_windows | head -n1)
    [ -n "$dialog" ] || { tv_why "Ctrl+A in the $pane opened no dialog"; return 1; }
    tv_log "Add dialog: $(xdotool getwindowname "$dialog")"
    tv_key Escape
    tv_wait_window_gone "$dialog" || { tv_why "Escape left the Add dialog open"; return 1; }
  done
  tv_key F6
}
tv_check "Ctrl+A opens the Add dialog in either pane" check_add_dialog

check_print_key() {
  [ "$(tv_active_pane)" = list ] || tv_key F6
  tv_keys_change_nothing ctrl+p || { TV_WHY="Ctrl+P in the list: $TV_WHY"; return 1; }
  tv_key F6
  tv_keys_open_window "Print" ctrl+p || { tv_why "Ctrl+P in the chart opened no Print dialog"; return 1; }
  tv_key F6
}
tv_check "Ctrl+P opens the Print dialog in the chart only" check_print_key
