# The installed desktop entry starts the installed program on a race file, as a file manager
# does: its Exec line with the file in place of %F. Runs when TARMIO_DESKTOP_ENTRY names the
# entry (the package checks set it).

# The Exec line's words with the field codes expanded for the one file $2 (a local path).
tv_desktop_exec_words() {
  local words word
  read -r -a words <<<"$(sed -n 's/^Exec=//p' "$1" | head -n1)"
  for word in "${words[@]}"; do
    case $word in
      %[fF]) echo "$2" ;;
      %[uU]) echo "file://$2" ;;
      %[ick]) ;; # icon, name and entry location: nothing the program reads
      *) echo "${word//%%/%}" ;;
    esac
  done
}

check_desktop_entry_starts_program() {
  local words program
  mapfile -t words < <(tv_desktop_exec_words "$TARMIO_DESKTOP_ENTRY" "$TV_SAMPLE")
  [ ${#words[@]} -ge 2 ] || { tv_why "no Exec line with a file in $TARMIO_DESKTOP_ENTRY"; return 1; }
  program=$(command -v "${words[0]}") || { tv_why "${words[0]} is not on PATH"; return 1; }
  [ "$program" = "${TARMIO_DESKTOP_PROGRAM:-$program}" ] ||
    { tv_why "the entry starts $program, not $TARMIO_DESKTOP_PROGRAM"; return 1; }
  tv_exit_app
  local built=$TV_PROGRAM
  TV_PROGRAM=$program
  tv_launch_app 60 "${words[@]:1}" || { TV_PROGRAM=$built; tv_why "no window"; return 1; }
  TV_PROGRAM=$built
  tv_settle 1
  tv_window_geometry "$TV_WID"
  TV_X=$WIN_X TV_Y=$WIN_Y TV_W=$WIN_W TV_H=$WIN_H
  tv_shot desktop-entry >/dev/null
  local title list
  title=$(xdotool getwindowname "$TV_WID")
  [ "$title" = "Brackwater Park - TarmioView" ] || { tv_why "the window is called '$title'"; return 1; }
  list=$(tv_shot desktop-entry-list 300 200 4 $((TV_ROW1_Y - 6)))
  [ "$(tv_colours "$list")" -gt 2 ] || tv_why "the list shows no drivers"
}

if [ -n "${TARMIO_DESKTOP_ENTRY:-}" ]; then
  tv_check "the installed desktop entry starts the installed program on a race file" \
    check_desktop_entry_starts_program
else
  echo "skip the installed desktop entry: TARMIO_DESKTOP_ENTRY is not set (the package checks set it)"
fi
