# The window as it opens on the sample race.

check_window_opens() {
  tv_expect_eq "caption" "Brackwater Park - TarmioView" "$(xdotool getwindowname "$TV_WID")" || return 1
  tv_expect_eq "message pane" Ready "$(tv_status)" || return 1
  tv_expect_eq "active pane" list "$(tv_active_pane)" || return 1
  [ "$(tv_colours "$(tv_shot window "$TV_W" "$TV_H" 0 0)")" -ge 16 ] || tv_why "the window is blank"
}
tv_check "the window opens on the race: caption, Ready, the driver list active" check_window_opens
