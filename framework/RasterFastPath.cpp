// Pixels stored straight into the painted image, where that gives exactly the pixels the painter
// would give: solid hairlines, dotted lines and cached text cells are the chart's bulk.

#include "framework/CDC.h"
#include "framework/TextCellCache.h"

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

void CDC::StoreAxisLine(QImage& image, QPoint from, QPoint last, COLORREF crColor) {
    const QRect line = QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                             QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y())))
                           .intersected(image.rect());
    if (line.isEmpty())
        return;
    const QRgb pixel = ToQColor(crColor).rgba();
    QRgb* row = m_pRasterBits + line.top() * m_nRasterStride + line.left();
    if (line.height() == 1) {
        std::fill_n(row, line.width(), pixel);
        return;
    }
    for (int y = 0; y < line.height(); ++y, row += m_nRasterStride)
        *row = pixel;
}

// The painter's hairline from `from` to `last`, both included, in 26.6 and 16.16 fixed point as
// its rasteriser steps: half a pixel added at each end, the minor axis advanced by the slope.
void CDC::StoreHairline(QPoint from, QPoint last, COLORREF crColor) {
    const QRgb pixel = ToQColor(crColor).rgba();
    int major1 = from.x() * 64;
    int minor1 = from.y() * 64;
    int major2 = last.x() * 64;
    int minor2 = last.y() * 64;
    const bool steep = std::abs(major2 - major1) < std::abs(minor2 - minor1);
    if (steep) {
        std::swap(major1, minor1);
        std::swap(major2, minor2);
    }
    if (major1 > major2) {
        std::swap(major1, major2);
        std::swap(minor1, minor2);
    }
    const int slope = static_cast<int>(static_cast<long long>(minor2 - minor1) * 65536 / (major2 - major1));
    int minor = minor1 * 1024 - (slope >> 1);
    major1 -= 32;
    major2 += 32;
    int major = (major1 + 32) >> 6;
    const int majorEnd = (major2 + 32) >> 6;
    const int round = slope > 0 ? 32 : 0;
    minor += ((major * 64) + round - major1) * slope >> 6;
    for (; major < majorEnd; ++major, minor += slope) {
        const int x = steep ? minor >> 16 : major;
        const int y = steep ? major : minor >> 16;
        m_pRasterBits[y * m_nRasterStride + x] = pixel;
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
