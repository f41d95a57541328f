#pragma once

// The fixed parts of the HTML race report: its style sheet and its script. The page works
// without the script; the script only adds the read-out under the pointer and the highlight.
// A chosen driver's curve is drawn wide over the others, which darken towards the chart's black
// as the viewer dims them.

namespace report_page {

inline constexpr const char* kStyle = R"css(
body{font:14px/1.4 system-ui,Arial,sans-serif;margin:1.5em;color:#111;background:#fff}
h1{font-size:1.5em;margin:0 0 .2em}
h2{font-size:1.15em;margin:1.4em 0 .4em}
table{border-collapse:collapse;margin:.3em 0}
th,td{padding:.15em .6em;border-bottom:1px solid #ddd;text-align:left;white-space:nowrap}
td.n,th.n,#lap-by-lap td{text-align:right;font-variant-numeric:tabular-nums}
.sw{display:inline-block;width:.8em;height:.8em;margin-right:.4em;background:currentColor;border:1px solid #888;vertical-align:-.05em}
[data-d]{cursor:pointer}
.laps{overflow-x:auto}
figure{margin:1em 0}
svg.chart{width:100%;max-width:1024px;height:auto;display:block}
svg.chart .hl path{fill:none;stroke:transparent;stroke-width:7;pointer-events:stroke}
svg.chart .hl path.on{stroke:currentColor;stroke-width:3}
body.chosen tr[data-d]:not(.on){opacity:.45}
body.chosen svg.chart>g:not(.hl){filter:brightness(.4)}
tr.on{font-weight:bold;background:#eef}
#readout{position:fixed;pointer-events:none;background:#ffffe8;border:1px solid #888;padding:.3em .5em;white-space:pre;font:12px/1.35 monospace;box-shadow:1px 1px 4px #0004}
@media print{figure{break-before:page;page-break-before:always}#readout{display:none}}
)css";

// The read-out follows the nearest curve point as the viewer's does: a point within six picture
// pixels, else a line within three, its nearer end.
inline constexpr const char* kScript = R"js(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('race-data').textContent);
  var box = document.getElementById('readout');
  var chosen = -1;
  function choose(driver) {
    chosen = chosen === driver ? -1 : driver;
    document.body.classList.toggle('chosen', chosen >= 0);
    var marked = document.querySelectorAll('[data-d]');
    for (var i = 0; i < marked.length; i++)
      marked[i].classList.toggle('on', Number(marked[i].getAttribute('data-d')) === chosen);
  }
  function nearest(curves, x, y) {
    var best = null, bestPoint = 36, bestLine = 9, lineHit = null;
    for (var c = 0; c < curves.length; c++) {
      var driver = curves[c][0], p = curves[c][1];
      for (var i = 0; i < p.length; i += 3) {
        var dx = x - p[i], dy = y - p[i + 1], d = dx * dx + dy * dy;
        if (d <= bestPoint) { bestPoint = d; best = [driver, Math.abs(p[i + 2]) - 1]; }
        if (i === 0 || p[i + 2] < 0) continue;
        var ax = p[i - 3], ay = p[i - 2], sx = p[i] - ax, sy = p[i + 1] - ay;
        var len = sx * sx + sy * sy;
        var t = len > 0 ? Math.min(1, Math.max(0, ((x - ax) * sx + (y - ay) * sy) / len)) : 0;
        var px = ax + t * sx - x, py = ay + t * sy - y, line = px * px + py * py;
        if (line <= bestLine) {
          bestLine = line;
          var nearerEnd = dx * dx + dy * dy < (x - ax) * (x - ax) + (y - ay) * (y - ay);
          lineHit = [driver, Math.abs(nearerEnd ? p[i + 2] : p[i - 1]) - 1];
        }
      }
    }
    return best || lineHit;
  }
  function hitAt(svg, event) {
    var point = svg.createSVGPoint();
    point.x = event.clientX;
    point.y = event.clientY;
    var local = point.matrixTransform(svg.getScreenCTM().inverse());
    return nearest(data.charts[Number(svg.getAttribute('data-chart'))], local.x, local.y);
  }
  function show(hit, event) {
    var text = hit && data.readouts[hit[0]] && data.readouts[hit[0]][hit[1]];
    if (!text) { box.hidden = true; return; }
    var lines = text.split('\n').map(function (line) {
      return /^[0-9]/.test(line) ? data.labels[Number(line[0])] + line.slice(1) : line;
    });
    box.textContent = [data.names[hit[0]]].concat(lines).join('\n');
    box.hidden = false;
    box.style.left = (event.clientX + 14) + 'px';
    box.style.top = (event.clientY + 14) + 'px';
  }
  var charts = document.querySelectorAll('svg.chart');
  for (var i = 0; i < charts.length; i++) {
    charts[i].addEventListener('mousemove', function (event) { show(hitAt(this, event), event); });
    charts[i].addEventListener('mouseleave', function () { box.hidden = true; });
    charts[i].addEventListener('click', function (event) {
      var hit = hitAt(this, event);
      if (hit) { event.stopPropagation(); choose(hit[0]); }
    });
  }
  document.addEventListener('click', function (event) {
    var row = event.target.closest('[data-d]');
    if (row) choose(Number(row.getAttribute('data-d')));
  });
})();
)js";

} // namespace report_page
