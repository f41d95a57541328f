# The CAP, NUM and SCRL panes show their text while the lock is on, and go blank when it is off.

check_lock_panes() {
  local key off on back
  for key in Caps_Lock Num_Lock Scroll_Lock; do
    off=$(tv_shot_indicators "indicators-before-$key")
    xdotool key "$key"
    tv_settle 0.4
    on=$(tv_shot_indicators "indicators-$key")
    xdotool key "$key"
    tv_settle 0.4
    back=$(tv_shot_indicators "indicators-after-$key")
    tv_differ "$off" "$on" || { tv_why "$key on left the panes blank"; return 1; }
    tv_same "$off" "$back" || { tv_why "$key off left its pane showing"; return 1; }
  done
}
tv_check "CAP, NUM and SCRL show while their lock is on" check_lock_panes
