# The driver list: heading clicks sort, Delete, Shift+Delete and Ctrl+X remove the selected
# drivers; F5 refills.

# Headings' centres (client x) in column order: Driver, Time, Laps, Fastlap, ID.
TV_HEADINGS=(50 155 225 277 335)

heading() { tv_click "${TV_HEADINGS[$1]}" "$TV_HEADER_Y"; }

check_heading_clicks() {
  local start by_name fast slow
  tv_key F5 # race order, refilled as a sort refills (no current row)
  start=$(tv_shot_list headings-start)
  heading 0
  by_name=$(tv_shot_list headings-driver)
  tv_differ "$start" "$by_name" || { tv_why "Driver did not sort"; return 1; }
  heading 2
  tv_same "$by_name" "$(tv_shot_list headings-laps)" || { tv_why "Laps changed the order"; return 1; }
  heading 4
  tv_same "$by_name" "$(tv_shot_list headings-id)" || { tv_why "ID changed the order"; return 1; }
  heading 3
  fast=$(tv_shot_list headings-fastlap)
  heading 3
  slow=$(tv_shot_list headings-fastlap-again)
  tv_differ "$fast" "$slow" || { tv_why "a second Fastlap click did not reverse the order"; return 1; }
  heading 1
  tv_same "$start" "$(tv_shot_list headings-time)" || tv_why "Time did not bring back race order"
}
tv_check "heading clicks sort by Driver, Fastlap (twice reverses) and Time; Laps and ID do nothing" check_heading_clicks

# Selects the first row with a click, so the list is active.
select_first_row() { tv_click 60 "$TV_ROW1_Y"; }

check_delete_keys() {
  local key list chart
  for key in Delete shift+Delete ctrl+x; do
    select_first_row
    list=$(tv_shot_list "delete-before-$key")
    chart=$(tv_shot_chart "delete-chart-before-$key")
    tv_key "$key"
    tv_differ "$list" "$(tv_shot_list "delete-after-$key")" || { tv_why "$key left the list as it was"; return 1; }
    tv_differ "$chart" "$(tv_shot_chart "delete-chart-after-$key")" || { tv_why "$key left the chart as it was"; return 1; }
  done
}
tv_check "Delete, Shift+Delete and Ctrl+X remove the selected driver from list and chart" check_delete_keys

check_refresh() {
  select_first_row
  tv_list_changes_on F5 || { tv_why "F5 kept the selection (no refill)"; return 1; }
  tv_key F6
  local auto
  auto=$(tv_shot_chart refresh-auto)
  tv_key KP_Add KP_Add
  tv_chart_changes_on F5 || { tv_why "F5 did not redo the auto-zoom"; return 1; }
  tv_same "$auto" "$(tv_shot_chart refresh-after)" || tv_why "F5 gave another zoom than the auto-zoom"
  tv_key F6
}
tv_check "F5 refills the list and redoes the chart's auto-zoom" check_refresh
