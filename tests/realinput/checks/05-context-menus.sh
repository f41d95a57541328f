# Shift+F10 and the Menu key open each pane's context menu at the point the keyboard gives:
# the chart's at the screen's top left (-1, -1), the list's on the selected row's first cell.

P_RELATIVE="Toggle between viewing absolute and relative time differences"
P_MIRRORED="Toggle viewing upside down"
P_BACKGROUND="Toggle black or white background in driver list"

check_chart_context_menu() {
  [ "$(tv_active_pane)" = chart ] || tv_key F6
  local key walked
  for key in shift+F10 Menu; do
    tv_key "$key"
    tv_popup_geometry || { tv_why "$key opened no menu"; return 1; }
    tv_shot "context-chart-$key" >/dev/null
    walked=$(tv_walk_menu 2)
    tv_key Escape
    if [ "$POPUP_X" -gt 0 ] || [ "$POPUP_Y" -gt 0 ]; then
      tv_why "$key: the menu opened at $POPUP_X,$POPUP_Y, not at the screen's top left"
      return 1
    fi
    tv_expect_eq "$key: chart menu prompts" "$P_RELATIVE|$P_MIRRORED" "$walked" || return 1
  done
}
tv_check "Shift+F10 and the Menu key open the chart's menu at the top left with its prompts" check_chart_context_menu

check_chart_context_menu_toggles() {
  [ "$(tv_active_pane)" = chart ] || tv_key F6
  local start
  start=$(tv_shot_chart chart-menu-start)
  tv_key shift+F10
  tv_key Down Return # the first item: relative or absolute
  tv_differ "$start" "$(tv_shot_chart chart-menu-absolute)" || { tv_why "Relative from the menu changed nothing"; return 1; }
  tv_key shift+F10
  tv_key Down Return
  tv_same "$start" "$(tv_shot_chart chart-menu-relative)" || tv_why "a second Relative did not bring the chart back"
}
tv_check "the chart menu's first item toggles relative and absolute" check_chart_context_menu_toggles

# The first row of the list, in client coordinates: its vertical centre and the first column.
TV_ROW1_Y=${TV_ROW1_Y:-0}

check_list_context_menu() {
  tv_click 60 "$TV_ROW1_Y" # selects the first row and makes the list active
  local key walked
  for key in shift+F10 Menu; do
    tv_key "$key"
    tv_popup_geometry || { tv_why "$key opened no menu"; return 1; }
    tv_shot "context-list-$key" >/dev/null
    walked=$(tv_walk_menu 2)
    tv_key Escape
    local x=$((POPUP_X - TV_X)) y=$((POPUP_Y - TV_Y))
    # The centre of the first cell: half the first column's width, the row's middle.
    if [ "$x" -lt 40 ] || [ "$x" -gt "$TV_LIST_COL0_RIGHT" ] || [ $((y - TV_ROW1_Y)) -lt -10 ] || [ $((y - TV_ROW1_Y)) -gt 10 ]; then
      tv_why "$key: the menu opened at $x,$y (client), not on the selected row's first cell"
      return 1
    fi
    tv_expect_eq "$key: list menu prompts" "Cut the selection|$P_BACKGROUND" "$walked" || return 1
  done
}
tv_check "Shift+F10 and the Menu key open the list's menu on the selected row with its prompts" check_list_context_menu

check_list_background_toggle() {
  local black white
  black=$(tv_shot_list list-black)
  tv_key shift+F10
  tv_key Up Return # the last item: Default Background
  white=$(tv_shot_list list-default)
  tv_key shift+F10
  tv_key Up Return # Black Background
  tv_differ "$black" "$white" || { tv_why "Default Background changed nothing"; return 1; }
  tv_same "$black" "$(tv_shot_list list-black-again)" || tv_why "Black Background did not bring the black list back"
}
tv_check "the list menu switches between the default and the black background" check_list_background_toggle
