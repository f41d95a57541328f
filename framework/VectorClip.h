#pragma once

// The geometry of lines on vector devices (pages, previews, drawings): what part of a segment a
// page shows, worked in doubles so that device points at the 32-bit extremes neither overflow nor
// lose the crossing.

#include <QPoint>
#include <QRectF>
#include <optional>

namespace drawing {

// The part of a segment inside a box, as fractions of the way from its start.
struct SegmentSpan {
    double enter = 0.0;
    double leave = 1.0;
};

// The span of the segment from `from` to `to` (both included) inside box, edges included; none
// when the segment misses the box.
std::optional<SegmentSpan> VisibleSpan(QPoint from, QPoint to, const QRectF& box);

// The last pixel a line from `from` towards `to` covers: the pixel before `to`.
QPoint LastPixelBefore(QPoint from, QPoint to);

} // namespace drawing
