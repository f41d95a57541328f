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

// A hairline's steps: along the major axis (rows for a steep line, columns otherwise) from `major`
// to `lastMajor`, both included, the minor axis at `minor` in 16.16 fixed point advanced by `slope`
// each step. Cutting to the image and the band skips whole steps along the major axis and single
// pixels across it, so the pixels inside stay where the whole line puts them.
inline void StoreSteps(const RasterTarget& target, bool steep, int major, int lastMajor, long long minor,
                       int slope) {
    const int lastRow = target.size.height() - 1;
    const int start = std::max(major, steep ? 0 : target.bandLeft);
    const int stop = std::min(lastMajor, steep ? lastRow : target.bandRight - 1);
    if (start > stop)
        return;
    const int minorLow = steep ? target.bandLeft : 0;
    const int minorHigh = steep ? target.bandRight - 1 : lastRow;
    const auto minorFirst = static_cast<int>(minor >> 16);
    const auto minorLast =
        static_cast<int>((minor + static_cast<long long>(slope) * (lastMajor - major)) >> 16);
    minor += static_cast<long long>(slope) * (start - major);
    const qsizetype majorStep = steep ? target.stride : 1;
    const qsizetype minorStep = steep ? 1 : target.stride;
    QRgb* pixels = target.bits + start * majorStep;
    const QRgb pixel = target.pixel;
    if (std::min(minorFirst, minorLast) >= minorLow && std::max(minorFirst, minorLast) <= minorHigh) {
        // One loop for each orientation keeps the multiplication out of a steep line's steps.
        if (steep) {
            for (int step = start; step <= stop; ++step, minor += slope, pixels += majorStep)
                pixels[minor >> 16] = pixel;
        } else {
            for (int step = start; step <= stop; ++step, minor += slope, ++pixels)
                pixels[(minor >> 16) * minorStep] = pixel;
        }
        return;
    }
    for (int step = start; step <= stop; ++step, minor += slope, pixels += majorStep) {
        const auto across = static_cast<int>(minor >> 16);
        if (across >= minorLow && across <= minorHigh)
            pixels[across * minorStep] = pixel;
    }
}

// The painter's hairline from `from` to `last`, both included, as its rasteriser steps when it
// does not cut the line: its 26.6 start, half a pixel back and rounded towards the slope, works out
// to the start below.
inline void StoreHairline(const RasterTarget& target, QPoint from, QPoint last) {
    const bool steep = std::abs(last.x() - from.x()) < std::abs(last.y() - from.y());
    QPoint first = steep ? from.transposed() : from;
    QPoint end = steep ? last.transposed() : last;
    if (first.x() > end.x())
        std::swap(first, end);
    const auto slope =
        static_cast<int>(static_cast<long long>(end.y() - first.y()) * 65536 / (end.x() - first.x()));
    const long long minor =
        static_cast<long long>(first.y()) * 65536 + (slope > 0 ? slope - (slope >> 1) : 0);
    StoreSteps(target, steep, first.x(), end.x(), minor, slope);
}

// Both ends of a line cut to [low, high] along one axis, the other axis moving with them, end by
// end in the painter's own operations so that the cut ends agree exactly; false when the line lies
// wholly beyond.
inline bool CutAlongAxis(double& along1, double& across1, double& along2, double& across2, double low,
                         double high) {
    if (along1 < low) {
        if (along2 <= low)
            return false;
        across1 += (across2 - across1) / (along2 - along1) * (low - along1);
        along1 = low;
    } else if (along1 > high) {
        if (along2 >= high)
            return false;
        across1 += (across2 - across1) / (along2 - along1) * (high - along1);
        along1 = high;
    }
    if (along2 < low) {
        across2 += (across2 - across1) / (along2 - along1) * (low - along2);
        along2 = low;
    } else if (along2 > high) {
        across2 += (across2 - across1) / (along2 - along1) * (high - along2);
        along2 = high;
    }
    return true;
}

// The same line when the painter cuts it first: in floating point, to a pixel before the image and
// two beyond its far edges; then stepped from the cut ends in 26.6 fixed point, as its rasteriser
// does, square caps and all.
inline void StoreCutHairline(const RasterTarget& target, QPoint from, QPoint last) {
    double x1 = from.x();
    double y1 = from.y();
    double x2 = last.x();
    double y2 = last.y();
    if (!CutAlongAxis(x1, y1, x2, y2, -1, target.size.width() + 1) ||
        !CutAlongAxis(y1, x1, y2, x2, -1, target.size.height() + 1))
        return;
    const bool steep = std::abs(static_cast<int>(x2 * 64.) - static_cast<int>(x1 * 64.)) <
                       std::abs(static_cast<int>(y2 * 64.) - static_cast<int>(y1 * 64.));
    // Along the major axis as x, across it as y.
    int startX = static_cast<int>((steep ? y1 : x1) * 64.);
    int startY = static_cast<int>((steep ? x1 : y1) * 64.);
    int endX = static_cast<int>((steep ? y2 : x2) * 64.);
    int endY = static_cast<int>((steep ? x2 : y2) * 64.);
    if (startX == endX)
        return;
    if (startX > endX) {
        std::swap(startX, endX);
        std::swap(startY, endY);
    }
    const auto slope = static_cast<int>(static_cast<long long>(endY - startY) * 65536 / (endX - startX));
    // Square caps: half a pixel more at each end.
    startX -= 32;
    endX += 32;
    const long long minor = static_cast<long long>(startY) * 1024 - (slope >> 1);
    const int first = (startX + 32) >> 6;
    const int after = (endX + 32) >> 6;
    const int round = slope > 0 ? 32 : 0;
    StoreSteps(target, steep, first, after - 1,
               minor + ((static_cast<long long>(first) * 64 + round - startX) * slope >> 6), slope);
}

// The painter steps a line whose ends lie at most a pixel before the image, or two beyond its far
// edges, as if it were whole, and leaves out the pixels off the image; a line reaching further is
// cut first, which moves its pixels.
inline bool WithinUncutMargin(const RasterTarget& target, QPoint p) {
    return static_cast<unsigned>(p.x()) + 1U <= static_cast<unsigned>(target.size.width()) + 2U &&
           static_cast<unsigned>(p.y()) + 1U <= static_cast<unsigned>(target.size.height()) + 2U;
}

// The platform's line from `from` towards `to`, its end point left out, when the painter would not
// cut it; false leaves it to the caller.
inline bool StoreLineInImage(const RasterTarget& target, QPoint from, QPoint to) {
    // `to` lies a pixel at most beyond the last pixel drawn.
    if (!WithinUncutMargin(target, from) ||
        static_cast<unsigned>(to.x()) + 2U > static_cast<unsigned>(target.size.width()) + 4U ||
        static_cast<unsigned>(to.y()) + 2U > static_cast<unsigned>(target.size.height()) + 4U)
        return false;
    // Each axis goes back a pixel when it moves more than half a pixel a step: LastPixelBefore's
    // rule, in 32 bits now that both ends are known to lie near the image. Calling it instead made
    // a large field's paint measurably slower.
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const auto back = [steps](int d) { return 2 * std::abs(d) > steps ? (d > 0) - (d < 0) : 0; };
    const QPoint last(to.x() - back(dx), to.y() - back(dy));
    if (!WithinUncutMargin(target, last))
        return false;
    if (from.x() == last.x() || from.y() == last.y())
        StoreAxisLine(target, from, last);
    else
        StoreHairline(target, from, last);
    return true;
}

// The platform's line from `from` towards `to`, its end point left out, wherever its ends lie.
inline void StoreLine(const RasterTarget& target, QPoint from, QPoint to) {
    if (StoreLineInImage(target, from, to))
        return;
    const QPoint last = LastPixelBefore(from, to);
    if (from.x() == last.x() || from.y() == last.y())
        StoreAxisLine(target, from, last);
    else
        StoreCutHairline(target, from, last);
}

} // namespace drawing
