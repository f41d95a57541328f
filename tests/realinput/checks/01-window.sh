# The window as it opens on the sample race.

check_title() {
  local title
  title=$(xdotool getwindowname "$TV_WID")
  [ "$title" = "Brackwater Park - TarmioView" ] || tv_why "title is '$title'"
}
tv_check "the caption names the sample race's track" check_title

check_ready() { [ "$(tv_status)" = "Ready" ] || tv_why "message pane shows '$(tv_status)'"; }
tv_check "the message pane shows Ready" check_ready

check_list_starts_active() { [ "$(tv_active_pane)" = list ] || tv_why "the chart is active"; }
tv_check "the driver list starts as the active pane" check_list_starts_active

check_not_blank() {
  local shot
  shot=$(tv_shot window "$TV_W" "$TV_H" 0 0)
  [ "$(tv_colours "$shot")" -ge 16 ] || tv_why "the window is blank"
}
tv_check "the window shows the race" check_not_blank
