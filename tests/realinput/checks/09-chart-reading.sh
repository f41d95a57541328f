# Reading the chart: the read-out under the pointer names the driver of the curve.

# Client coordinates of the first pixel of this colour in the chart, right of its first laps
# (where the curves still run together).
chart_pixel_of() { # colour as #RRGGBB
  local shot
  shot=$(tv_shot_chart chart-find)
  convert "$shot" -depth 8 txt:- | grep -i "$1 " |
    awk -F'[,:]' -v dx=$((TV_LIST_WIDTH + 10)) -v dy=60 '$1 > 150 { print $1 + dx, $2 + dy; exit }'
}

check_hover_names_the_driver() {
  tv_restart_app
  local before list_before point
  before=$(tv_shot_chart hover-before)
  list_before=$(tv_shot_list hover-list-before)
  # Emile Roussel's yellow curve (car 19, the last driver, drawn on top).
  point=$(chart_pixel_of "#FFFF00")
  [ -n "$point" ] || { tv_why "no yellow curve in the chart"; return 1; }
  tv_move $point
  tv_settle 0.3
  local status
  status=$(tv_status)
  [[ "$status" == "Emile Roussel (19), lap "* ]] || { tv_why "the status bar says '$status'"; return 1; }
  tv_differ "$before" "$(tv_shot_chart hover-panel)" || { tv_why "no read-out panel"; return 1; }
  tv_differ "$list_before" "$(tv_shot_list hover-list)" || { tv_why "the driver's row is not marked"; return 1; }
  # Below the whole field nothing is near: the read-out goes.
  tv_move $((TV_LIST_WIDTH + 60)) $((TV_H - 90))
  tv_settle 0.3
  [ "$(tv_status)" = Ready ] || { tv_why "away from the curves the status bar says '$(tv_status)'"; return 1; }
  tv_same "$before" "$(tv_shot_chart hover-after)" || tv_why "the chart is not as before the pointer came"
}
tv_check "pointing at a curve names its driver beside the pointer and in the status bar" check_hover_names_the_driver


# A click on a curve selects its driver's row (Gap to Selected Driver then measures against him);
# Ctrl+click on it takes the row out of the selection again.
check_click_selects_the_driver() {
  tv_restart_app
  local point
  point=$(chart_pixel_of "#FFFF00")
  [ -n "$point" ] || { tv_why "no yellow curve in the chart"; return 1; }
  tv_move $point
  tv_settle 0.3
  xdotool click 1
  tv_settle 0.3
  tv_shot_list click-selected >/dev/null
  tv_key ctrl+g
  tv_expect_eq "after a click and Ctrl+G" "Gap to Emile Roussel (19)" "$(tv_status)" || return 1
  tv_key ctrl+g
  tv_move $point
  tv_settle 0.3
  xdotool keydown ctrl click 1 keyup ctrl
  tv_settle 0.3
  # With nothing selected Gap to Selected Driver has no one to measure against.
  tv_key ctrl+g
  [ "$(tv_status)" != "Gap to Emile Roussel (19)" ] || tv_why "Ctrl+click left the row selected"
}
tv_check "a click on a curve selects its driver's row; Ctrl+click takes it out again" check_click_selects_the_driver

# Zoom to Fit (Ctrl+0) spreads the sample's gaps of seconds over the chart, from either pane.
check_zoom_to_fit_key() {
  local pane
  for pane in chart list; do
    tv_restart_app
    tv_activate "$pane"
    tv_chart_changes_on ctrl+0 || { tv_why "Ctrl+0 in the $pane left the chart as it was"; return 1; }
  done
}
tv_check "Ctrl+0 fits the chart to its curves from the chart and from the list" check_zoom_to_fit_key
