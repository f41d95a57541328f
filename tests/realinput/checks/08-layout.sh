# The split bar drags.

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

tv_restart_app # the checks after this one start on the whole race in a fresh window
