#pragma once

// The painter's solid one-pixel lines, stored straight into an image's pixels: exactly the pixels
// its rasteriser gives, inside a band of columns so that several threads can share one image.

#include "framework/VectorClip.h"

#include <QPoint>
#include <QRgb>
#include <QSize>
#include <algorithm>
#include <cstdlib>

namespace drawing {

// The image the pixels go into, the columns this writer may touch and the pen's pixel.
struct RasterTarget {
    QRgb* bits;
    qsizetype stride;
    QSize size;
    QRgb pixel;
    int bandLeft;  // first column
    int bandRight; // one past the last
};

inline bool InsideImage(const RasterTarget& target, QPoint p) {
    return static_cast<unsigned>(p.x()) < static_cast<unsigned>(target.size.width()) &&
           static_cast<unsigned>(p.y()) < static_cast<unsigned>(target.size.height());
}

// A line along a row or a column, cut to the image and the band.
inline void StoreAxisLine(const RasterTarget& target, QPoint from, QPoint last) {
    const int left = std::max(std::min(from.x(), last.x()), target.bandLeft);
    const int right = std::min(std::max(from.x(), last.x()), target.bandRight - 1);
    const int top = std::max(std::min(from.y(), last.y()), 0);
    const int bottom = std::min(std::max(from.y(), last.y()), target.size.height() - 1);
    if (left > right || top > bottom)
        return;
    QRgb* row = target.bits + top * target.stride + left;
    if (top == bottom) {
        std::fill_n(row, right - left + 1, target.pixel);
        return;
    }
    for (int y = top; y <= bottom; ++y, row += target.stride)
        *row = target.pixel;
}

// The painter's hairline from `from` to `last`, both included and in the image, as its
// rasteriser steps: along the major axis pixel by pixel, the minor axis in 16.16 fixed point
// advanced by the slope. Its 26.6 start, half a pixel back and rounded towards the slope, works
// out to the start below. Cutting a row-wise line to the band skips whole steps, so the pixels
// inside stay where the whole line puts them.
inline void StoreHairline(const RasterTarget& target, QPoint from, QPoint last) {
    const bool steep = std::abs(last.x() - from.x()) < std::abs(last.y() - from.y());
    QPoint first = steep ? from.transposed() : from;
    QPoint end = steep ? last.transposed() : last;
    if (first.x() > end.x())
        std::swap(first, end);
    const auto slope =
        static_cast<int>(static_cast<long long>(end.y() - first.y()) * 65536 / (end.x() - first.x()));
    long long minor = static_cast<long long>(first.y()) * 65536 + (slope > 0 ? slope - (slope >> 1) : 0);
    // One loop for each orientation keeps the choice out of the per-pixel step.
    const qsizetype stride = target.stride;
    const QRgb pixel = target.pixel;
    if (steep) {
        QRgb* row = target.bits + first.x() * stride;
        const auto inBand = [&target](int column) {
            return column >= target.bandLeft && column < target.bandRight;
        };
        if (inBand(from.x()) && inBand(last.x())) {
            for (int major = first.x(); major <= end.x(); ++major, minor += slope, row += stride)
                row[minor >> 16] = pixel;
            return;
        }
        for (int major = first.x(); major <= end.x(); ++major, minor += slope, row += stride)
            if (inBand(static_cast<int>(minor >> 16)))
                row[minor >> 16] = pixel;
        return;
    }
    const int start = std::max(first.x(), target.bandLeft);
    const int stop = std::min(end.x(), target.bandRight - 1);
    minor += static_cast<long long>(slope) * (start - first.x());
    for (QRgb *column = target.bits + start, *after = target.bits + stop + 1; column < after;
         ++column, minor += slope)
        column[(minor >> 16) * stride] = pixel;
}

// The platform's line from `from` towards `to`, its end point left out, when all its pixels lie
// in the image; false leaves it to the caller. `to` a pixel outside may still end inside.
inline bool StoreLineInImage(const RasterTarget& target, QPoint from, QPoint to) {
    const auto width = static_cast<unsigned>(target.size.width());
    const auto height = static_cast<unsigned>(target.size.height());
    if (!InsideImage(target, from) || static_cast<unsigned>(to.x()) + 1U > width + 1U ||
        static_cast<unsigned>(to.y()) + 1U > height + 1U)
        return false;
    // Each axis goes back a pixel when it moves more than half a pixel a step.
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const auto back = [steps](int d) { return 2 * std::abs(d) > steps ? (d > 0) - (d < 0) : 0; };
    const QPoint last(to.x() - back(dx), to.y() - back(dy));
    if (!InsideImage(target, last))
        return false;
    if (from.x() == last.x() || from.y() == last.y())
        StoreAxisLine(target, from, last);
    else
        StoreHairline(target, from, last);
    return true;
}

// The line as StoreLineInImage stores it, or, along an axis, cut to the image; false when only the
// painter's own clipping gives its pixels.
inline bool StoreLine(const RasterTarget& target, QPoint from, QPoint to) {
    if (StoreLineInImage(target, from, to))
        return true;
    const QPoint last = LastPixelBefore(from, to);
    if (from.x() != last.x() && from.y() != last.y())
        return false;
    StoreAxisLine(target, from, last);
    return true;
}

} // namespace drawing
