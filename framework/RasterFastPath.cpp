// Pixels stored straight into the painted image, where that gives exactly the pixels the painter
// would give: solid hairlines, dotted lines and cached text cells are the chart's bulk.

#include "framework/CDC.h"
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

void CDC::StoreAxisLine(QImage& image, QPoint from, QPoint last, QRgb pixel) {
    const int left = std::max(std::min(from.x(), last.x()), 0);
    const int right = std::min(std::max(from.x(), last.x()), image.width() - 1);
    const int top = std::max(std::min(from.y(), last.y()), 0);
    const int bottom = std::min(std::max(from.y(), last.y()), image.height() - 1);
    if (left > right || top > bottom)
        return;
    QRgb* row = m_pRasterBits + top * m_nRasterStride + left;
    if (top == bottom) {
        std::fill_n(row, right - left + 1, pixel);
        return;
    }
    for (int y = top; y <= bottom; ++y, row += m_nRasterStride)
        *row = pixel;
}

// The painter's hairline from `from` to `last`, both included, in 26.6 and 16.16 fixed point as
// its rasteriser steps: half a pixel added at each end, the minor axis advanced by the slope.
void CDC::StoreHairline(QPoint from, QPoint last, QRgb pixel) {
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
    // One loop for each orientation keeps the choice out of the per-pixel step.
    QRgb* const bits = m_pRasterBits;
    const qsizetype stride = m_nRasterStride;
    if (steep) {
        for (QRgb* row = bits + major * stride; major < majorEnd; ++major, minor += slope, row += stride)
            row[minor >> 16] = pixel;
    } else {
        for (; major < majorEnd; ++major, minor += slope)
            bits[(minor >> 16) * stride + major] = pixel;
    }
}

bool CDC::StoreHairlines(QPoint from, const QPoint* points, int count) {
    const CPen& pen = m_state.pen;
    if (pen.m_nStyle != PS_SOLID || pen.m_nWidth > 1 || LinePainter() == nullptr || !m_bRasterEngine)
        return false;
    QImage* image = DirectPixels();
    if (image == nullptr)
        return false;
    if (!m_bPenApplied) {
        // The waiting lines belong to the pen that is about to be replaced.
        FlushLines();
        ApplyPen();
    }
    const QRgb pixel = ToQColor(pen.m_crColor).rgba();
    const auto inside = [width = image->width(), height = image->height()](QPoint p) {
        return static_cast<unsigned>(p.x()) < static_cast<unsigned>(width) &&
               static_cast<unsigned>(p.y()) < static_cast<unsigned>(height);
    };
    for (int i = 0; i < count; from = points[i++]) {
        const QPoint to = points[i];
        if (to == from)
            continue;
        const QPoint last = drawing::LastPixelBefore(from, to);
        if (from.x() == last.x() || from.y() == last.y())
            StoreAxisLine(*image, from, last, pixel);
        else if (inside(from) && inside(last))
            StoreHairline(from, last, pixel);
        else
            DrawDeviceLine(from, to); // partly off the image: the painter clips it
    }
    return true;
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
