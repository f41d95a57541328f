# Shift+F10 and the Menu key open each pane's context menu at the pane that asked: the chart's a
# few pixels inside its top left corner, the list's on the selected row's first cell (at the
# list's top left when no row is selected: 98-new.sh).

P_RELATIVE="Toggle between viewing absolute and relative time differences"
P_MIRRORED="Toggle viewing upside down"
P_BACKGROUND="Toggle black or white background in driver list"

# Whether the menu's client position (x, y) is where the pane's keyboard menu belongs.
menu_placed_for() {
  local x=$((POPUP_X - TV_X)) y=$((POPUP_Y - TV_Y))
  if [ "$1" = chart ]; then # beside the split bar, below the toolbar, above the list's first row
    [ "$x" -gt "$TV_SPLIT_X" ] && [ "$x" -le $((TV_SPLIT_X + 16)) ] && [ "$y" -gt 20 ] && [ "$y" -lt "$TV_ROW1_Y" ]
  else # the centre of the selected first row's first cell
    local dy=$((y - TV_ROW1_Y))
    [ "$x" -ge 40 ] && [ "$x" -le "$TV_LIST_COL0_RIGHT" ] && [ "$dy" -ge -10 ] && [ "$dy" -le 10 ]
  fi
}

check_context_menus() {
  local pane key walked expected
  tv_click 60 "$TV_ROW1_Y" # selects the first row and makes the list active
  for pane in list chart; do
    [ "$(tv_active_pane)" = "$pane" ] || tv_key F6
    expected="Cut the selection|$P_BACKGROUND"
    [ "$pane" = chart ] && expected="$P_RELATIVE|$P_MIRRORED"
    for key in shift+F10 Menu; do
      tv_key "$key"
      tv_popup_geometry || { tv_why "$key in the $pane opened no menu"; return 1; }
      tv_shot "context-$pane-$key" >/dev/null
      walked=$(tv_walk_menu 2)
      tv_key Escape
      menu_placed_for "$pane" || { tv_why "$key: the $pane menu opened at $POPUP_X,$POPUP_Y"; return 1; }
      tv_expect_eq "$key: $pane menu prompts" "$expected" "$walked" || return 1
    done
  done
}
tv_check "Shift+F10 and the Menu key open each pane's menu where it belongs, with its prompts" check_context_menus

