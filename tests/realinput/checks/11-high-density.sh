# At a device pixel ratio of 2 the chart is drawn with the screen's own pixels: a curve's edge is
# one device pixel, not a square of four. Checked with and without off-screen composition.

# How many aligned squares of four pixels hold more than one colour, at the alignment that gives
# fewest: a picture drawn at half the resolution and doubled has none at one of the four.
tv_mixed_squares() {
  python3 - "$1" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace():
        at += 1
    start = at
    while not data[at:at + 1].isspace():
        at += 1
    fields.append(data[start:at])
width, height = int(fields[1]), int(fields[2])
size = 3 if int(fields[3]) < 256 else 6  # import writes 16-bit samples
pixels = data[at + 1:]
def px(x, y):
    i = size * (y * width + x)
    return pixels[i:i + size]
fewest = None
for dy in (0, 1):
    for dx in (0, 1):
        mixed = 0
        for y in range(dy, height - 1, 2):
            for x in range(dx, width - 1, 2):
                c = px(x, y)
                if px(x + 1, y) != c or px(x, y + 1) != c or px(x + 1, y + 1) != c:
                    mixed += 1
        fewest = mixed if fewest is None else min(fewest, mixed)
print(fewest)
PY
}

check_chart_sharp_at_ratio_two() {
  QT_SCALE_FACTOR=2 tv_restart_app || { tv_why "the program did not start at ratio 2"; return 1; }
  local shot mixed
  # The plot's right end: the list keeps its width in window pixels, twice as many on the screen.
  shot=$(tv_shot ratio2-composed 150 $((TV_H / 2)) $((TV_W - 180)) $((TV_H / 4)))
  convert "$shot" "$TV_OUT/shots/ratio2-composed.png"
  mixed=$(tv_mixed_squares "$shot")
  echo "composed: $mixed mixed squares" >>"$TV_OUT/program.log"
  [ "$mixed" -gt 300 ] || { tv_why "composed: only $mixed mixed squares, the chart is pixel-doubled"; return 1; }
  # Options, Flicker-free drawing off: the chart paints straight on the window.
  tv_activate chart
  tv_key alt+o
  tv_key Return
  tv_settle 0.5
  shot=$(tv_shot ratio2-direct 150 $((TV_H / 2)) $((TV_W - 180)) $((TV_H / 4)))
  convert "$shot" "$TV_OUT/shots/ratio2-direct.png"
  mixed=$(tv_mixed_squares "$shot")
  echo "direct: $mixed mixed squares" >>"$TV_OUT/program.log"
  [ "$mixed" -gt 300 ] || { tv_why "direct: only $mixed mixed squares, the chart is pixel-doubled"; return 1; }
}
tv_check "at ratio 2 the chart is sharp, composed off-screen or painted straight" check_chart_sharp_at_ratio_two
tv_restart_app
