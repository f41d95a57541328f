# The driver list: Delete, Shift+Delete and Ctrl+X remove the selected drivers.

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

