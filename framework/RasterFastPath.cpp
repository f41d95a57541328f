// Pixels stored straight into the painted image, where that gives exactly the pixels the painter
// would give: solid hairlines, dotted lines and cached text cells are the chart's bulk.

#include "framework/CDC.h"
#include "framework/HairlinePixels.h"
#include "framework/TextCellCache.h"
#include "framework/VectorClip.h"

#include <QPaintEngine>
#include <cmath>

using drawing::ToQColor;

void CDC::FindRasterImage() {
    m_bRasterEngine =
        m_painter->paintEngine() != nullptr && m_painter->paintEngine()->type() == QPaintEngine::Raster;
    m_pRasterImage = nullptr;
    if (!m_bRasterEngine || m_pDevice->devType() != QInternal::Image)
        return;
    auto* image = static_cast<QImage*>(m_pDevice);
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) ||
        !image->isDetached())
        return;
    m_pRasterImage = image;
    m_pRasterBits = reinterpret_cast<QRgb*>(image->bits());
    m_nRasterStride = image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
}

QImage* CDC::DirectPixels() const {
    // Opaque pixels stored straight into the image are what the painter would store, as long as
    // nothing clips, moves or blends them.
    if (m_pRasterImage == nullptr || m_bHasClip || m_painter->hasClipping() ||
        m_painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_painter->deviceTransform().type() != QTransform::TxNone)
        return nullptr;
    return m_pRasterImage;
}

bool CDC::PixelExactRects() const {
    // A whole-pixel shift keeps a one-pixel rectangle on exactly the pixels of a hairline; scaling
    // or a vector device would not.
    if (!m_bRasterEngine)
        return false;
    const QTransform& transform = m_painter->deviceTransform();
    return transform.type() <= QTransform::TxTranslate && transform.dx() == std::floor(transform.dx()) &&
           transform.dy() == std::floor(transform.dy());
}

// The solid hairlines of a raster device, in the painter's pixels: stored straight into an image
// the context may write directly, held back for the painter otherwise.
void CDC::DrawHairlines(QPoint from, const QPoint* points, int count) {
    QPainter* painter = LinePainter();
    if (painter == nullptr)
        return;
    if (!m_bPenApplied) {
        // Lines waiting for the painter belong to the pen that is about to be replaced.
        FlushLines();
        ApplyPen();
    }
    QImage* image = DirectPixels();
    const bool exactRects = image == nullptr && PixelExactRects();
    const QSize size = image != nullptr ? image->size() : QSize();
    const drawing::RasterTarget target{m_pRasterBits, m_nRasterStride, size, m_penPixel, 0, size.width()};
    // The platform leaves out each end point; draw up to the pixel before it, both ends included.
    for (int i = 0; i < count; from = points[i++]) {
        if (points[i] == from)
            continue;
        if (image != nullptr) {
            drawing::StoreLine(target, from, points[i]);
            continue;
        }
        const QPoint last = drawing::LastPixelBefore(from, points[i]);
        const bool alongAxis = from.x() == last.x() || from.y() == last.y();
        if (last == from && !exactRects) {
            FlushLines();
            painter->drawPoint(from);
        } else if (alongAxis && exactRects) {
            // Lines along an axis are plain rectangles one pixel wide, far cheaper than stroking.
            painter->fillRect(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                                    QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
                              painter->pen().color());
        } else {
            // Each line of one call is stroked on its own, so collecting them changes no pixel.
            m_pendingLines.push_back(QLine(from, last));
        }
    }
}

bool CDC::StoreStyledLine(QPoint from, QPoint to) {
    const QImage* image = DirectPixels();
    if (image == nullptr)
        return false;
    const bool opaqueGaps = m_state.bkMode == OPAQUE;
    const QRgb dot = ToQColor(m_state.pen.m_crColor).rgba();
    const QRgb gap = ToQColor(m_state.bkColour).rgba();
    const QRect bounds = image->rect();
    const drawing::LinePattern pattern = drawing::PatternOf(m_state.pen.m_nStyle);
    drawing::WalkLinePixels(from, to, [&](int i, QPoint pixel) {
        const bool on = (i + m_nLinePhase) % pattern.period < pattern.on;
        if ((on || opaqueGaps) && bounds.contains(pixel))
            m_pRasterBits[pixel.y() * m_nRasterStride + pixel.x()] = on ? dot : gap;
    });
    return true;
}

bool CDC::CopyTextCell(QPoint topLeft, const QString& text) {
    const QImage* image = DirectPixels();
    if (image == nullptr || m_state.bkMode != OPAQUE || image->format() != QImage::Format_RGB32)
        return false;
    const QImage* cell =
        TextCellCache::Shared().Find(m_state.font, image->dotsPerMeterX(), image->dotsPerMeterY(), text,
                                     m_state.textColour, m_state.bkColour, Metrics());
    if (cell == nullptr)
        return false;
    const QRect target = QRect(topLeft, cell->size()).intersected(image->rect());
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(cell->constScanLine(y - topLeft.y()));
        std::copy_n(source + (target.left() - topLeft.x()), target.width(),
                    m_pRasterBits + y * m_nRasterStride + target.left());
    }
    return true;
}
