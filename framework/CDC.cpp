#include "framework/CDC.h"

#include "framework/TextBytes.h"
#include "framework/VectorClip.h"

#include <QFontInfo>
#include <QPaintDevice>
#include <cmath>

using drawing::DivideRounded;
using drawing::ToQColor;

namespace {
constexpr int kFocusDotPeriodPixels = 2;
} // namespace

CDC::CDC(QPaintDevice* device, bool printing) : m_bPrinting(printing) {
    m_state.pPen = &drawing::StockBlackPen();
    m_state.pen = *m_state.pPen;
    m_state.pFont = &drawing::StockFont();
    m_state.font = drawing::ApplicationFont();
    if (device == nullptr) {
        m_defaultSurface = QImage(1, 1, QImage::Format_RGB32);
        m_defaultSurface.fill(Qt::black);
        device = &m_defaultSurface;
    }
    m_pDevice = device;
}

CDC::~CDC() {
    EndPainting();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_defaultSurface.isNull())
        return FALSE; // only a context made without a device becomes a memory context
    if (pDC != nullptr && pDC->GetDevice() != nullptr) {
        m_defaultSurface.setDotsPerMeterX(drawing::DotsPerMetre(pDC->GetDevice()->logicalDpiX()));
        m_defaultSurface.setDotsPerMeterY(drawing::DotsPerMetre(pDC->GetDevice()->logicalDpiY()));
    }
    SetDevice(&m_defaultSurface);
    return TRUE;
}

void CDC::SetDevice(QPaintDevice* device) {
    EndPainting();
    m_pDevice = device;
    m_metrics.reset();
}

void CDC::EndPainting() {
    if (m_painter != nullptr) {
        FlushLines();
        m_painter->end();
        m_painter.reset();
    }
}

QPainter* CDC::Painter() {
    QPainter* painter = LinePainter();
    FlushLines();
    return painter;
}

QPainter* CDC::LinePainter() {
    if (m_painter != nullptr)
        return m_painter.get();
    if (m_pDevice == nullptr || m_pDevice->width() <= 0 || m_pDevice->height() <= 0)
        return nullptr;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_pDevice))
        return nullptr;
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (m_bHasClip)
        painter->setClipRect(QRect(m_clipBoxDevice.left, m_clipBoxDevice.top, m_clipBoxDevice.Width(),
                                   m_clipBoxDevice.Height()));
    m_painter = std::move(painter);
    FindRasterImage();
    m_bPenApplied = false;
    m_bFontApplied = false;
    return m_painter.get();
}

void CDC::FlushLines() {
    if (!m_pendingLines.isEmpty()) {
        m_painter->drawLines(m_pendingLines.constData(), static_cast<int>(m_pendingLines.size()));
        m_pendingLines.resize(0);
    }
    if (!m_pendingVectorLines.isEmpty()) {
        m_painter->drawLines(m_pendingVectorLines.constData(), static_cast<int>(m_pendingVectorLines.size()));
        m_pendingVectorLines.resize(0);
    }
}

QPainter* CDC::GetPainter() {
    QPainter* painter = Painter();
    // Whoever borrows the painter may change its pen and font.
    m_bPenApplied = false;
    m_bFontApplied = false;
    return painter;
}

int CDC::GetDeviceCaps(int nIndex) const {
    switch (nIndex) {
    case HORZRES:
        return m_pDevice->width();
    case VERTRES:
        return m_pDevice->height();
    case LOGPIXELSX:
        return m_pDevice->logicalDpiX();
    case LOGPIXELSY:
        return m_pDevice->logicalDpiY();
    default:
        return 0;
    }
}

void CDC::ApplyPen() {
    if (m_bPenApplied)
        return;
    const CPen& pen = m_state.pen;
    QPen qpen(ToQColor(pen.m_crColor));
    m_penPixel = qpen.color().rgba();
    if (pen.m_nWidth <= 1) {
        // Cosmetic: both ends inclusive; LineTo shortens the line itself.
        qpen.setWidth(0);
        qpen.setCapStyle(Qt::SquareCap);
    } else {
        qpen.setWidth(pen.m_nWidth);
        qpen.setCapStyle(Qt::RoundCap);
        if (pen.m_nStyle != PS_SOLID) {
            // A wide pen's pattern counts in pen widths.
            const drawing::LinePattern pattern = drawing::PatternOf(pen.m_nStyle);
            const qreal width = pen.m_nWidth;
            qpen.setCapStyle(Qt::FlatCap);
            qpen.setDashPattern({pattern.on / width, (pattern.period - pattern.on) / width});
        }
    }
    m_painter->setPen(qpen);
    m_bPenApplied = true;
}

void CDC::ApplyWidePenPhase() {
    if (m_state.pen.m_nStyle == PS_SOLID)
        return;
    QPen pen = m_painter->pen();
    pen.setDashOffset(static_cast<qreal>(m_nLinePhase) / m_state.pen.m_nWidth);
    m_painter->setPen(pen);
}

void CDC::ApplyFont() {
    if (m_bFontApplied)
        return;
    m_painter->setFont(m_state.font);
    m_bFontApplied = true;
}

const QFontMetrics& CDC::Metrics() const {
    if (m_metrics == nullptr)
        m_metrics = std::make_unique<QFontMetrics>(m_state.font, m_pDevice);
    return *m_metrics;
}

CPoint CDC::MoveTo(int x, int y) {
    return std::exchange(m_state.position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y) {
    const QPoint from = ToDevice(m_state.position.x, m_state.position.y);
    m_state.position = CPoint(x, y);
    DrawDeviceLine(from, ToDevice(x, y));
    return TRUE;
}

// A dashed curve goes on with its pattern where its last piece stopped, so that pieces shorter
// than a dash still show gaps; dotted lines start afresh with every line, as the platform's do.
int CDC::PatternPhaseFor(QPoint from, QPoint to) {
    const int style = m_state.pen.m_nStyle;
    const int phase = style == PS_DASH && from == m_patternEnd ? m_nPatternPhase : 0;
    const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
    m_patternEnd = to;
    m_nPatternPhase = (phase + steps) % drawing::PatternOf(style).period;
    return phase;
}

BOOL CDC::PolylineTo(const CPoint* points, int count) {
    if (count <= 0)
        return TRUE;
    const QPoint from = ToDevice(m_state.position.x, m_state.position.y);
    m_state.position = points[count - 1];
    m_polylinePoints.resize(count);
    QPoint* device = m_polylinePoints.data();
    ToDevice(points, count, device);
    if (SolidHairlinesOnRaster()) {
        DrawHairlines(from, device, count);
        return TRUE;
    }
    for (int i = 0; i < count; ++i)
        DrawDeviceLine(i == 0 ? from : device[i - 1], device[i]);
    return TRUE;
}

// The pen draws one-pixel solid lines on a raster device: the bulk of every chart, one line or a
// run of them. The painter is made first, as it tells what the device is.
bool CDC::SolidHairlinesOnRaster() {
    return m_state.pen.IsSolidHairline() && LinePainter() != nullptr && m_bRasterEngine;
}

void CDC::DrawDeviceLine(QPoint from, QPoint to) {
    const CPen& pen = m_state.pen;
    if (from == to)
        return;
    m_nLinePhase = pen.m_nStyle == PS_SOLID ? 0 : PatternPhaseFor(from, to);
    if (SolidHairlinesOnRaster()) {
        DrawHairlines(from, &to, 1);
        return;
    }
    if (LinePainter() != nullptr && !m_bRasterEngine) {
        DrawVectorLine(from, to);
        return;
    }
    if (pen.m_nStyle != PS_SOLID && pen.m_nWidth <= 1) {
        DrawStyledLine(from, to);
        return;
    }
    if (pen.m_nWidth > 1) {
        if (QPainter* painter = Painter()) {
            ApplyPen();
            ApplyWidePenPhase();
            painter->drawLine(from, to);
        }
    }
}

void CDC::DrawStyledLine(QPoint from, QPoint to) {
    QPainter* painter = Painter();
    // The pixels of one line are all different, so dots and gaps may go in any order.
    if (painter == nullptr || StoreStyledLine(from, to))
        return;
    if (!PixelExactRects()) {
        DrawScaledStyledLine(from, to);
        return;
    }
    QVector<QPoint>& dots = m_styledDots;
    QVector<QPoint>& gaps = m_styledGaps;
    dots.resize(0);
    gaps.resize(0);
    const drawing::LinePattern pattern = drawing::PatternOf(m_state.pen.m_nStyle);
    drawing::WalkLinePixels(from, to, [&](int i, QPoint pixel) {
        ((i + m_nLinePhase) % pattern.period < pattern.on ? dots : gaps).push_back(pixel);
    });
    m_bPenApplied = false;
    QPen pen(ToQColor(m_state.pen.m_crColor), 0);
    painter->setPen(pen);
    painter->drawPoints(dots.data(), static_cast<int>(dots.size()));
    // An opaque background fills the gaps of a styled line, as it does behind text.
    if (m_state.bkMode == OPAQUE && !gaps.isEmpty()) {
        pen.setColor(ToQColor(m_state.bkColour));
        painter->setPen(pen);
        painter->drawPoints(gaps.data(), static_cast<int>(gaps.size()));
    }
}

// On a high-density device the pattern keeps its length in device-independent pixels while the
// line stays one device pixel thin.
void CDC::DrawScaledStyledLine(QPoint from, QPoint to) {
    const qreal scale = std::hypot(m_painter->deviceTransform().m11(), m_painter->deviceTransform().m12());
    const drawing::LinePattern pattern = drawing::PatternOf(m_state.pen.m_nStyle);
    // Up to the last device pixel before the end point, not the last window pixel.
    const qreal steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
    const QLineF line(from, QPointF(to) - QPointF(to - from) / (scale * steps));
    QPen pen(ToQColor(m_state.bkColour), 0);
    pen.setCapStyle(Qt::FlatCap);
    if (m_state.bkMode == OPAQUE) {
        m_painter->setPen(pen);
        m_painter->drawLine(line);
    }
    pen.setColor(ToQColor(m_state.pen.m_crColor));
    pen.setDashPattern({pattern.on * scale, (pattern.period - pattern.on) * scale});
    pen.setDashOffset(m_nLinePhase * scale);
    m_painter->setPen(pen);
    m_painter->drawLine(line);
    m_bPenApplied = false;
}

void CDC::FillDeviceRect(const QRect& rect, COLORREF crColor) {
    if (rect.isEmpty())
        return;
    if (QPainter* painter = Painter())
        painter->fillRect(rect, ToQColor(crColor));
}

void CDC::FillSolidRect(const CRect& rect, COLORREF crColor) {
    SetBkColor(crColor);
    FillDeviceRect(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), crColor);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor) {
    FillSolidRect(CRect(x, y, x + cx, y + cy), crColor);
}

void CDC::FillRect(const CRect& rect, CBrush* pBrush) {
    FillDeviceRect(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), pBrush->m_crColor);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    if (dwRop != BLACKNESS && dwRop != WHITENESS)
        return FALSE;
    FillDeviceRect(ToDeviceRect(x, y, x + nWidth, y + nHeight),
                   dwRop == BLACKNESS ? RGB(0, 0, 0) : RGB(255, 255, 255));
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc) {
    const auto* source = dynamic_cast<const QImage*>(pSrcDC->GetDevice());
    if (source == nullptr)
        return FALSE;
    pSrcDC->EndPainting();
    QPainter* painter = Painter();
    if (painter == nullptr)
        return FALSE;
    const QRect target = ToDeviceRect(x, y, x + nWidth, y + nHeight);
    const QRect from = pSrcDC->ToDeviceRect(xSrc, ySrc, xSrc + nWidth, ySrc + nHeight);
    const QPainter::CompositionMode mode = painter->compositionMode();
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    // The source rectangle counts the image's own pixels: a high-density bitmap has more of them.
    const qreal ratio = source->devicePixelRatio();
    if (ratio == 1.0)
        painter->drawImage(target, *source, from);
    else
        painter->drawImage(
            QRectF(target), *source,
            QRectF(from.x() * ratio, from.y() * ratio, from.width() * ratio, from.height() * ratio));
    painter->setCompositionMode(mode);
    return TRUE;
}

void CDC::DrawFocusRect(const CRect& rect) {
    const QRect box = ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom);
    QPainter* painter = box.isEmpty() ? nullptr : Painter();
    if (painter == nullptr)
        return;
    QVector<QPoint> dots;
    const QPoint corners[] = {box.topLeft(), QPoint(box.right(), box.top()), box.bottomRight(),
                              QPoint(box.left(), box.bottom()), box.topLeft()};
    for (int side = 0; side < 4; ++side) {
        // The end of each side is the start of the next; the last side closes at the first corner.
        drawing::WalkLinePixels(corners[side], corners[side + 1], [&](int i, QPoint pixel) {
            if (i % kFocusDotPeriodPixels == 0)
                dots.push_back(pixel);
        });
    }
    if (dots.isEmpty())
        dots.push_back(box.topLeft());
    // Inverting, so that drawing it twice takes it away again.
    const QPainter::CompositionMode mode = painter->compositionMode();
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter->setPen(QPen(Qt::white, 0));
    painter->drawPoints(dots.data(), static_cast<int>(dots.size()));
    painter->setCompositionMode(mode);
    m_bPenApplied = false;
}

void CDC::DrawOpaqueText(QPoint topLeft, const QString& text, const QRect* clip) {
    QPainter* painter = Painter();
    if (painter == nullptr || text.isEmpty())
        return;
    if (clip == nullptr && CopyTextCell(topLeft, text))
        return;
    const QFontMetrics& metrics = Metrics();
    if (clip != nullptr) {
        painter->save();
        painter->setClipRect(*clip, m_bHasClip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    if (m_state.bkMode == OPAQUE)
        painter->fillRect(
            QRect(topLeft, QSize(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent())),
            ToQColor(m_state.bkColour));
    ApplyFont();
    painter->setPen(ToQColor(m_state.textColour));
    m_bPenApplied = false;
    painter->drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    if (clip != nullptr) {
        painter->restore();
        m_bFontApplied = false;
    }
}

BOOL CDC::TextOut(int x, int y, const std::string& text) {
    DrawOpaqueText(ToDevice(x, y), TextFromBytes(text), nullptr);
    return TRUE;
}

int CDC::DrawText(const std::string& text, CRect* rect, UINT nFormat) {
    QString shown = TextFromBytes(text);
    if ((nFormat & DT_SINGLELINE) != 0)
        shown.replace('\n', ' ').remove('\r');
    const QFontMetrics& metrics = Metrics();
    const QPoint topLeft = ToDevice(rect->left, rect->top);
    const QPoint bottomRight = ToDevice(rect->right, rect->bottom);
    const int textWidth = metrics.horizontalAdvance(shown);
    const int textHeight = metrics.ascent() + metrics.descent();
    if ((nFormat & DT_CALCRECT) != 0) {
        const CPoint corner = ToLogical(CPoint(topLeft.x() + textWidth, topLeft.y() + textHeight));
        const int top = ToLogical(CPoint(topLeft.x(), topLeft.y())).y;
        rect->right = corner.x;
        rect->bottom = corner.y;
        return std::abs(corner.y - top);
    }
    const QRect box(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
    int x = box.left();
    if ((nFormat & DT_CENTER) != 0)
        x = box.left() + (box.width() - textWidth) / 2;
    else if ((nFormat & DT_RIGHT) != 0)
        x = box.left() + box.width() - textWidth;
    int y = box.top();
    if ((nFormat & DT_SINGLELINE) != 0 && (nFormat & DT_VCENTER) != 0)
        y = box.top() + (box.height() - textHeight) / 2;
    DrawOpaqueText(QPoint(x, y), shown, (nFormat & DT_NOCLIP) != 0 ? nullptr : &box);
    return textHeight;
}

CSize CDC::GetTextExtent(const std::string& text) const {
    const QFontMetrics& metrics = Metrics();
    const QString shown = TextFromBytes(text);
    CSize extent(metrics.horizontalAdvance(shown), metrics.ascent() + metrics.descent());
    if (m_state.mapMode != MM_TEXT) {
        // Measured in device units, answered in logical ones.
        const State& s = m_state;
        extent = CSize(
            std::abs(DivideRounded(static_cast<long long>(extent.cx) * s.windowExt.cx, s.viewportExt.cx)),
            std::abs(DivideRounded(static_cast<long long>(extent.cy) * s.windowExt.cy, s.viewportExt.cy)));
    }
    return extent;
}

CSize CDC::GetTextExtent(const char* text, int count) const {
    return GetTextExtent(std::string(text, static_cast<size_t>(std::max(0, count))));
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
    const QFontMetrics& fm = Metrics();
    metrics->tmHeight = fm.ascent() + fm.descent();
    const int characterHeight =
        m_state.font.pixelSize() > 0 ? m_state.font.pixelSize() : QFontInfo(m_state.font).pixelSize();
    metrics->tmInternalLeading = std::max(0, metrics->tmHeight - characterHeight);
    metrics->tmExternalLeading = std::max(0, fm.leading());
    metrics->tmAveCharWidth =
        static_cast<LONG>(drawing::AverageCharWidth(QFontMetricsF(m_state.font, m_pDevice)) + 0.5);
    return TRUE;
}

void CDC::SetClipBoxDevice(const CRect& rect) {
    if (m_painter != nullptr)
        FlushLines();
    m_clipBoxDevice = rect;
    m_bHasClip = true;
    if (m_painter != nullptr)
        m_painter->setClipRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}
