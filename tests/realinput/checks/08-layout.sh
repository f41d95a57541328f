# The split bar drags; toolbar buttons show their prompts and leaving them brings back Ready,
# docked and floating.

drag() { # from x y to x y, client coordinates
  tv_move "$1" "$2"
  xdotool mousedown 1
  tv_pointer_to $((TV_X + ($1 + $3) / 2)) $((TV_Y + ($2 + $4) / 2))
  sleep 0.1
  tv_pointer_to $((TV_X + $3)) $((TV_Y + $4))
  sleep 0.1
  xdotool mouseup 1
  tv_settle 0.4
}

check_splitter_drag() {
  local y=$((TV_H / 2)) start narrow hidden
  start=$(tv_shot window-split-start "$TV_W" "$TV_H" 0 0)
  drag "$TV_SPLIT_X" "$y" 200 "$y"
  narrow=$(tv_shot window-split-200 "$TV_W" "$TV_H" 0 0)
  tv_differ "$start" "$narrow" || { tv_why "dragging the split bar changed nothing"; return 1; }
  drag $((200 + TV_SPLIT_X - TV_LIST_WIDTH)) "$y" 3 "$y"
  hidden=$(tv_shot window-split-hidden "$TV_W" "$TV_H" 0 0)
  tv_differ "$narrow" "$hidden" || { tv_why "dragging to the left edge changed nothing"; return 1; }
}
tv_check "the split bar drags, and to the left edge hides the list" check_splitter_drag

# A toolbar button's prompt while the pointer is on it, and the text after it left.
button_prompts() {
  tv_move "$1" "$2"
  sleep 0.3
  local on
  on=$(tv_status)
  tv_move $((TV_W / 2)) $((TV_H / 2))
  sleep 0.3
  echo "$on|$(tv_status)"
}

check_toolbar_prompts() {
  tv_expect_eq "the docked Add button" "Add a race file|Ready" "$(button_prompts "$TV_ADD_BUTTON_X" "$TV_TOOLBAR_Y")" || return 1
  drag "$TV_TOOLBAR_HANDLE_X" "$TV_TOOLBAR_Y" 500 400
  local bar
  bar=$(tv_other_windows | head -n1)
  [ -n "$bar" ] || { tv_why "the toolbar did not float"; return 1; }
  tv_window_geometry "$bar"
  local X=$WIN_X Y=$WIN_Y HEIGHT=$WIN_H
  tv_shot floating-toolbar >/dev/null
  # The Add button of the floating bar, as far from its left end as on the docked bar.
  local prompts
  prompts=$(button_prompts $((X - TV_X + TV_ADD_BUTTON_X - TV_TOOLBAR_HANDLE_X)) $((Y - TV_Y + HEIGHT / 2)))
  tv_restart_app # docked again
  tv_expect_eq "the floating Add button" "Add a race file|Ready" "$prompts"
}
tv_check "a toolbar button, docked or floating, shows its prompt; leaving it shows Ready" check_toolbar_prompts
