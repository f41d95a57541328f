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

# With no row selected the list's keyboard menu opens at the list, not in a corner of the screen.
check_empty_list_menu() {
  local key
  tv_activate list
  for key in shift+F10 Menu; do
    tv_key "$key"
    tv_popup_geometry || { tv_why "$key in the empty list opened no menu"; return 1; }
    tv_shot "context-empty-list-$key" >/dev/null
    tv_key Escape
    local x=$((POPUP_X - TV_X)) y=$((POPUP_Y - TV_Y))
    # The list's top left, under its heading.
    [ "$x" -ge 0 ] && [ "$x" -le 16 ] && [ "$y" -gt 20 ] && [ "$y" -le "$TV_ROW1_Y" ] ||
      { tv_why "$key: the menu opened at $x,$y"; return 1; }
  done
}
tv_check "After New, the list's keyboard menu opens at the list" check_empty_list_menu
