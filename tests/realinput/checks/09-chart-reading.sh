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

