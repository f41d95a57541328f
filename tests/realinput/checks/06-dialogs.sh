# Print Setup asks for printer, paper and orientation and prints nothing; its choice carries
# over to the preview; the preview opens and closes.

preview_shot() {
  tv_key alt+f v
  tv_wait_window "Print Preview" || return 1
  xdotool windowsize --sync "$TV_DIALOG" 800 600
  xdotool windowmove --sync "$TV_DIALOG" 0 0
  tv_settle 0.6
  tv_shot "$1" 800 600 $((-TV_X)) $((-TV_Y))
  tv_key Escape
  tv_wait_window_gone "$TV_DIALOG"
  tv_settle
}

check_preview_and_setup_carry_over() {
  [ "$(tv_active_pane)" = chart ] || tv_key F6
  local portrait landscape before_files
  portrait=$(preview_shot preview-portrait) || { tv_why "Print Preview did not open"; return 1; }
  before_files=$(find "$HOME" -newer "$TV_OUT/display" -type f ! -path '*/runtime/*' | sort)
  tv_key alt+f r
  tv_wait_window "Print Setup" || { tv_why "no Print Setup window (focused: $(tv_focused_title))"; return 1; }
  tv_key alt+a # Landscape
  tv_key Return
  tv_wait_window_gone "$TV_DIALOG" || { tv_why "OK left Print Setup open"; return 1; }
  if xdotool search --onlyvisible --name '^Print$' >/dev/null 2>&1; then
    tv_why "Print Setup opened a Print dialog"
    return 1
  fi
  [ "$(find "$HOME" -newer "$TV_OUT/display" -type f ! -path '*/runtime/*' | sort)" = "$before_files" ] ||
    { tv_why "Print Setup wrote something"; return 1; }
  landscape=$(preview_shot preview-landscape) || { tv_why "Print Preview did not open again"; return 1; }
  tv_differ "$portrait" "$landscape" || tv_why "the preview's page did not turn with the set-up's orientation"
}
tv_check "Print Setup prints nothing; Print Preview opens and closes and shows the orientation chosen" check_preview_and_setup_carry_over

