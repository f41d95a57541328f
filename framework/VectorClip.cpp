// Lines on devices that keep every segment they are given: a page, a print preview, a drawing.
// Whatever a race holds, only what the page can show is emitted, and a dotted line goes out as
// one dashed segment rather than dot by dot.

#include "framework/VectorClip.h"

#include "framework/CDC.h"

#include <QPaintDevice>
#include <cmath>

using drawing::ToQColor;

namespace drawing {

std::optional<SegmentSpan> VisibleSpan(QPoint from, QPoint to, const QRectF& box) {
    const double x0 = from.x();
    const double y0 = from.y();
    const double dx = static_cast<double>(to.x()) - x0;
    const double dy = static_cast<double>(to.y()) - y0;
    SegmentSpan span;
    // Liang-Barsky: each edge of the box moves the entry forward or the exit back.
    const auto limit = [&span](double towardsOutside, double roomInside) {
        if (towardsOutside == 0.0)
            return roomInside >= 0.0;
        const double t = roomInside / towardsOutside;
        if (towardsOutside < 0.0)
            span.enter = std::max(span.enter, t);
        else
            span.leave = std::min(span.leave, t);
        return span.enter <= span.leave;
    };
    if (limit(-dx, x0 - box.left()) && limit(dx, box.right() - x0) && limit(-dy, y0 - box.top()) &&
        limit(dy, box.bottom() - y0))
        return span;
    return std::nullopt;
}

} // namespace drawing

namespace {
// Beyond the page by more than a pen's width nothing shows; a little more keeps round caps whole.
constexpr int kVisibleMarginPixels = 2;

QPointF PointAlong(QPoint from, QPoint to, double fraction) {
    return QPointF(from.x() + (static_cast<double>(to.x()) - from.x()) * fraction,
                   from.y() + (static_cast<double>(to.y()) - from.y()) * fraction);
}
} // namespace

QRectF CDC::VisibleDeviceBox(int penWidth) const {
    QRectF box(0, 0, m_pDevice->width(), m_pDevice->height());
    if (m_bHasClip)
        box &= QRectF(m_clipBoxDevice.left, m_clipBoxDevice.top, m_clipBoxDevice.Width(),
                      m_clipBoxDevice.Height());
    box = m_painter->deviceTransform().inverted().mapRect(box);
    const double margin = penWidth + kVisibleMarginPixels;
    return box.adjusted(-margin, -margin, margin, margin);
}

void CDC::DrawVectorLine(QPoint from, QPoint to) {
    const CPen& pen = m_state.pen;
    if (pen.m_nStyle != PS_SOLID && pen.m_nWidth <= 1) {
        DrawVectorDottedLine(from, to);
        return;
    }
    if (pen.m_nWidth > 1) {
        // Wide pens keep their end point, as on the screen.
        const std::optional<drawing::SegmentSpan> span =
            drawing::VisibleSpan(from, to, VisibleDeviceBox(pen.m_nWidth));
        if (!span)
            return;
        QPainter* painter = Painter();
        ApplyPen();
        ApplyWidePenPhase();
        painter->drawLine(QLineF(PointAlong(from, to, span->enter), PointAlong(from, to, span->leave)));
        return;
    }
    if (!m_bPenApplied) {
        FlushLines();
        ApplyPen();
    }
    const QPoint last = drawing::LastPixelBefore(from, to);
    const std::optional<drawing::SegmentSpan> span = drawing::VisibleSpan(from, last, VisibleDeviceBox(1));
    if (!span)
        return;
    if (last == from) {
        FlushLines();
        m_painter->drawPoint(from);
        return;
    }
    m_pendingVectorLines.push_back(
        QLineF(PointAlong(from, last, span->enter), PointAlong(from, last, span->leave)));
}

// The dots fall where the pixel walk of a raster device puts them: the pattern is measured in
// steps along the major axis, so its dashes are stretched by the length of one step.
void CDC::DrawVectorDottedLine(QPoint from, QPoint to) {
    const std::optional<drawing::SegmentSpan> span = drawing::VisibleSpan(from, to, VisibleDeviceBox(1));
    if (!span)
        return;
    QPainter* painter = Painter();
    const double dx = static_cast<double>(to.x()) - from.x();
    const double dy = static_cast<double>(to.y()) - from.y();
    const double length = std::hypot(dx, dy);
    const double step = length / std::max(std::abs(dx), std::abs(dy));
    const QLineF visible(PointAlong(from, to, span->enter), PointAlong(from, to, span->leave));
    const drawing::LinePattern pattern = drawing::PatternOf(m_state.pen.m_nStyle);
    QPen pen(ToQColor(m_state.pen.m_crColor), 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({pattern.on * step, (pattern.period - pattern.on) * step});
    // The cut-off start takes its share of the pattern with it; within one period, so that a start
    // far off the page keeps its precision.
    const double period = pattern.period * step;
    const double phase = std::fmod(span->enter * length + m_nLinePhase * step, period);
    pen.setDashOffset(phase);
    painter->setPen(pen);
    painter->drawLine(visible);
    // An opaque background fills the gaps: the same pattern, moved on by the length of the dots.
    if (m_state.bkMode == OPAQUE) {
        pen.setColor(ToQColor(m_state.bkColour));
        pen.setDashOffset(phase + pattern.on * step);
        painter->setPen(pen);
        painter->drawLine(visible);
    }
    m_bPenApplied = false;
}
