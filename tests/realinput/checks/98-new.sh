# Ctrl+N starts a new, empty race in both panes (run late: the race is gone afterwards).

check_ctrl_n() {
  tv_activate chart
  tv_key ctrl+n
  local title list
  title=$(xdotool getwindowname "$TV_WID")
  [ "$title" != "Brackwater Park - TarmioView" ] || { tv_why "the caption still names the track"; return 1; }
  list=$(tv_shot new-list 330 400 4 $((TV_ROW1_Y - 6)))
  [ "$(tv_colours "$list")" -le 2 ] || tv_why "the list still shows drivers"
}
tv_check "Ctrl+N starts a new, empty race" check_ctrl_n
