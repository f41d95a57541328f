#pragma once

// The geometry of lines on vector devices (pages, previews, drawings): what part of a segment a
// page shows, worked in doubles so that device points at the 32-bit extremes neither overflow nor
// lose the crossing.

#include <QPoint>
#include <QRectF>
#include <algorithm>
#include <cstdlib>
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

// The last pixel a line from `from` towards `to` covers: the pixel before `to`. Each axis goes
// back by d / steps of a pixel rounded half away from zero, that is one pixel when that is more
// than half and none otherwise; worked without dividing, as every line drawn asks it.
inline QPoint LastPixelBefore(QPoint from, QPoint to) {
    const long long dx = static_cast<long long>(to.x()) - from.x();
    const long long dy = static_cast<long long>(to.y()) - from.y();
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    const auto back = [steps](long long d) {
        return 2 * std::llabs(d) > steps ? (d > 0 ? d - 1 : d + 1) : d;
    };
    return QPoint(static_cast<int>(from.x() + back(dx)), static_cast<int>(from.y() + back(dy)));
}

} // namespace drawing
