// Logical to device coordinates: the text mapping moves by the origins, the anisotropic one also
// scales by viewport extent over window extent, rounding to the nearest pixel.

#include "framework/CDC.h"

#include <QPaintDevice>
#include <utility>

namespace {
// One axis from one origin and extent to the other's, to the nearest whole unit.
LONG MapAxis(int value, LONG fromOrigin, LONG fromExtent, LONG toExtent, LONG toOrigin) {
    return drawing::DivideRounded(static_cast<long long>(value - fromOrigin) * toExtent, fromExtent) +
           toOrigin;
}
} // namespace

int CDC::SetMapMode(int nMapMode) {
    const int previous = m_state.mapMode;
    if (nMapMode != MM_TEXT && nMapMode != MM_ANISOTROPIC)
        return 0;
    m_state.mapMode = nMapMode;
    if (nMapMode == MM_TEXT) {
        m_state.windowExt = CSize(1, 1);
        m_state.viewportExt = CSize(1, 1);
    }
    return previous;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    return std::exchange(m_state.windowOrg, CPoint(x, y));
}

CPoint CDC::SetViewportOrg(int x, int y) {
    return std::exchange(m_state.viewportOrg, CPoint(x, y));
}

CSize CDC::SetWindowExt(int cx, int cy) {
    const CSize previous = m_state.windowExt;
    // The text mapping keeps its one-to-one extents; a zero extent would map nothing.
    if (m_state.mapMode == MM_ANISOTROPIC && cx != 0 && cy != 0)
        m_state.windowExt = CSize(cx, cy);
    return previous;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    const CSize previous = m_state.viewportExt;
    if (m_state.mapMode == MM_ANISOTROPIC && cx != 0 && cy != 0)
        m_state.viewportExt = CSize(cx, cy);
    return previous;
}

QPoint CDC::ToDevice(int x, int y) const {
    const CPoint point(x, y);
    QPoint device;
    ToDevice(&point, 1, &device);
    return device;
}

QRect CDC::ToDeviceRect(int x1, int y1, int x2, int y2) const {
    const QPoint a = ToDevice(x1, y1);
    const QPoint b = ToDevice(x2, y2);
    // Half-open on the device whichever way the mapping turns the axes.
    return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(b.x() - a.x()),
                 std::abs(b.y() - a.y()));
}

CPoint CDC::ToLogical(CPoint p) const {
    const State& s = m_state;
    return CPoint(MapAxis(p.x, s.viewportOrg.x, s.viewportExt.cx, s.windowExt.cx, s.windowOrg.x),
                  MapAxis(p.y, s.viewportOrg.y, s.viewportExt.cy, s.windowExt.cy, s.windowOrg.y));
}

void CDC::ToDevice(const CPoint* points, int count, QPoint* device) const {
    const State& s = m_state;
    // An axis whose extents agree only shifts, with no division for each point.
    const bool shiftX = s.mapMode == MM_TEXT || s.windowExt.cx == s.viewportExt.cx;
    const bool shiftY = s.mapMode == MM_TEXT || s.windowExt.cy == s.viewportExt.cy;
    for (int i = 0; i < count; ++i) {
        const int x = points[i].x;
        const int y = points[i].y;
        device[i] =
            QPoint(shiftX ? x - s.windowOrg.x + s.viewportOrg.x
                          : MapAxis(x, s.windowOrg.x, s.windowExt.cx, s.viewportExt.cx, s.viewportOrg.x),
                   shiftY ? y - s.windowOrg.y + s.viewportOrg.y
                          : MapAxis(y, s.windowOrg.y, s.windowExt.cy, s.viewportExt.cy, s.viewportOrg.y));
    }
}

void CDC::LPtoDP(CPoint* point) const {
    const QPoint device = ToDevice(point->x, point->y);
    *point = CPoint(device.x(), device.y());
}

void CDC::GetClipBox(CRect* rect) const {
    const CRect device = m_bHasClip ? m_clipBoxDevice
                                    : CRect(0, 0, m_pDevice != nullptr ? m_pDevice->width() : 0,
                                            m_pDevice != nullptr ? m_pDevice->height() : 0);
    const CPoint a = ToLogical(CPoint(device.left, device.top));
    const CPoint b = ToLogical(CPoint(device.right, device.bottom));
    // A flipped axis turns the corners over; the box is always given top-left first.
    *rect = CRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}
