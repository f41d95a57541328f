# File, Exit ends the program and writes the three settings.

check_exit_writes_settings() {
  tv_activate chart
  tv_key ctrl+r # absolute differences: GraphRelative becomes 0
  rm -f "$(TV_SETTINGS)"
  tv_exit_app
  [ "$TV_EXIT" = 0 ] || { tv_why "exit status $TV_EXIT"; return 1; }
  local settings
  settings=$(TV_SETTINGS)
  [ -f "$settings" ] || { tv_why "no settings file"; return 1; }
  local expected
  for expected in GeneralOpts=3 GraphRelative=0 GraphMirrored=1; do
    grep -qx "$expected" "$settings" || { tv_why "$expected missing: $(tr '\n' ' ' <"$settings")"; return 1; }
  done
}
tv_check "File, Exit ends the program and writes GeneralOpts, GraphRelative and GraphMirrored" check_exit_writes_settings
