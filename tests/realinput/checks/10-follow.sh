# Follow Files: a log that grows while the program shows it. View, Follow Files turns following
# on; every append shows the new laps in the chart and list within a moment, with the selected
# row kept and no message box.

TV_FOLLOW_DIR="$TV_OUT/follow"
TV_FOLLOW_LOG="$TV_FOLLOW_DIR/live.zq3"
TV_SAMPLE_LOG="$TV_ROOT/samples/sample-race.zq3"

# The first $1 bytes of the sample log, written over the followed file in place.
tv_log_bytes() { head -c "$1" "$TV_SAMPLE_LOG" >"$TV_FOLLOW_DIR/next" && cat "$TV_FOLLOW_DIR/next" >"$TV_FOLLOW_LOG"; }

# The leader's lap as the status bar last told it.
tv_follow_lap() { tv_status | sed -n 's/.*leader on lap \([0-9]*\)$/\1/p'; }

check_follow_growing_log() {
  mkdir -p "$TV_FOLLOW_DIR"
  tv_log_bytes 20000
  tv_restart_app "$TV_FOLLOW_LOG" || { tv_why "the program did not start on the growing log"; return 1; }
  tv_activate list
  # Sorted by name, the first row stays the same driver however the race goes on.
  tv_click 60 $((TV_ROW1_Y - 18))
  tv_settle
  tv_click 60 "$TV_ROW1_Y"
  tv_settle
  # View, Follow Files: nine steps down from the View menu's first item.
  tv_key alt+v
  tv_key Down Down Down Down Down Down Down Down Down Return
  local lap before_chart before_row later
  tv_settle 0.5
  lap=$(tv_follow_lap)
  [ -n "$lap" ] || { tv_why "the status bar says nothing of following: '$(tv_status)'"; return 1; }
  before_chart=$(tv_shot_chart follow-before)
  before_row=$(tv_shot follow-row-before 40 10 8 $((TV_ROW1_Y - 5)))
  tv_log_bytes 50000
  tv_becomes_other tv_shot_chart "$before_chart" || { tv_why "the chart did not show the new laps"; return 1; }
  later=$(tv_follow_lap)
  [ -n "$later" ] && [ "$later" -gt "$lap" ] || { tv_why "the leader's lap went from $lap to '$later'"; return 1; }
  tv_same "$before_row" "$(tv_shot follow-row-after 40 10 8 $((TV_ROW1_Y - 5)))" ||
    { tv_why "the first row's selection was not kept"; return 1; }
  [ -z "$(tv_other_windows)" ] || tv_why "a window other than the main one showed"
}
tv_check "a growing log shows its new laps with the selection kept and no message box" check_follow_growing_log
