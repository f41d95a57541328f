#include <chrono>
#include <cstdio>
// A field of polylines in one call. On an image, each core takes a band of columns and stores
// every line's pixels inside it, in the lines' order: the bands never share a pixel, so the
// picture is the one a single core draws.

#include "framework/CDC.h"
#include "framework/HairlinePixels.h"
#include "framework/VectorClip.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <thread>

namespace {
// Smaller fields are drawn on one core: starting threads would cost more than they save.
constexpr std::size_t kBandedPointsMinimum = 20'000;
constexpr unsigned kMostBands = 8;

bool IsSolidHairline(const CPen& pen) {
    return pen.m_nStyle == PS_SOLID && pen.m_nWidth <= 1;
}

// The pen of each run as the image stores it; a driver's runs share their pen.
void FindRunPixels(const std::vector<CDC::PolylineRun>& runs, std::vector<QRgb>& pixels) {
    pixels.resize(runs.size());
    const CPen* pen = nullptr;
    QRgb pixel = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (runs[r].pen != pen) {
            pen = runs[r].pen;
            pixel = drawing::ToQColor(pen->m_crColor).rgba();
        }
        pixels[r] = pixel;
    }
}

// A line along an axis is cut to the image and one wholly outside it has no pixels; any other
// line reaching outside needs the painter's own clipping.
bool StoreLineInBand(const drawing::RasterTarget& target, QPoint from, QPoint to) {
    if (drawing::StoreLineInImage(target, from, to))
        return true;
    const QPoint last = drawing::LastPixelBefore(from, to);
    if (from.x() == last.x() || from.y() == last.y()) {
        drawing::StoreAxisLine(target, from, last);
        return true;
    }
    return std::max(from.y(), to.y()) < 0 || std::min(from.y(), to.y()) >= target.size.height() ||
           std::max(from.x(), to.x()) < 0 || std::min(from.x(), to.x()) >= target.size.width();
}

// Every line of the runs that reaches into the band, in the runs' order, until a band meets one
// that needs the painter.
void StoreRunsInBand(drawing::RasterTarget target, const std::vector<QPoint>& device,
                     const std::vector<CDC::PolylineRun>& runs, const std::vector<QRgb>& pixels,
                     std::atomic<bool>& needsPainter) {
    for (std::size_t r = 0; r < runs.size() && !needsPainter.load(std::memory_order_relaxed); ++r) {
        target.pixel = pixels[r];
        QPoint from = device[static_cast<std::size_t>(runs[r].first)];
        for (auto i = static_cast<std::size_t>(runs[r].first) + 1; i < static_cast<std::size_t>(runs[r].end);
             ++i) {
            const QPoint to = device[i];
            // A line's pixels lie between its ends' columns.
            if (to != from && std::max(from.x(), to.x()) >= target.bandLeft &&
                std::min(from.x(), to.x()) < target.bandRight && !StoreLineInBand(target, from, to)) {
                needsPainter = true;
                return;
            }
            from = to;
        }
    }
}
} // namespace

void CDC::DrawPolylineRuns(const std::vector<CPoint>& points, const std::vector<PolylineRun>& runs) {
    if (runs.empty())
        return;
    if (StoreHairlineRunsInBands(points, runs)) {
        m_state.position = points[static_cast<std::size_t>(runs.back().end - 1)];
        return;
    }
    CPen* const previousPen = m_state.pPen;
    const int previousBkMode = m_state.bkMode;
    for (const PolylineRun& run : runs) {
        // A run of the pen already selected keeps it, and the lines it holds back for the painter.
        if (run.pen != m_state.pPen)
            SelectObject(run.pen);
        SetBkMode(run.bkMode);
        const CPoint& first = points[static_cast<std::size_t>(run.first)];
        MoveTo(first.x, first.y);
        PolylineTo(points.data() + run.first + 1, run.end - run.first - 1);
    }
    if (previousPen != nullptr)
        SelectObject(previousPen);
    SetBkMode(previousBkMode);
}

// Maps the points on every core, then stores the lines band by band. False when a line needs the
// painter: then the pixels stored so far are all drawn again, in order, over themselves.
bool CDC::StoreHairlineRunsInBands(const std::vector<CPoint>& points, const std::vector<PolylineRun>& runs) {
    const unsigned bands = std::min(std::thread::hardware_concurrency(), kMostBands);
    if (points.size() < kBandedPointsMinimum || bands < 2 ||
        !std::all_of(runs.begin(), runs.end(),
                     [](const PolylineRun& run) { return IsSolidHairline(*run.pen); }) ||
        LinePainter() == nullptr || !m_bRasterEngine)
        return false;
    const QImage* image = DirectPixels();
    if (image == nullptr)
        return false;
    // Lines held back for the painter were drawn before these.
    FlushLines();
    // Kept from paint to paint: a field's are megabytes, and fresh pages cost more than drawing.
    static thread_local std::vector<QRgb> keptPixels;
    static thread_local std::vector<QPoint> keptDevice;
    std::vector<QRgb>& pixels = keptPixels; // the bands' threads have buffers of their own
    std::vector<QPoint>& device = keptDevice;
    FindRunPixels(runs, pixels);
    device.resize(points.size());
    std::atomic<bool> needsPainter = false;
    std::barrier mapped(static_cast<std::ptrdiff_t>(bands));
    const QSize size = image->size();
    auto t0 = std::chrono::steady_clock::now();
    const auto work = [&](unsigned band) {
        auto ts = std::chrono::steady_clock::now();
        const std::size_t begin = points.size() * band / bands;
        const std::size_t end = points.size() * (band + 1) / bands;
        ToDevice(points.data() + begin, static_cast<int>(end - begin), device.data() + begin);
        auto t1 = std::chrono::steady_clock::now();
        mapped.arrive_and_wait();
        auto t2 = std::chrono::steady_clock::now();
        const drawing::RasterTarget target{m_pRasterBits,
                                           m_nRasterStride,
                                           size,
                                           0,
                                           static_cast<int>(size.width() * band / bands),
                                           static_cast<int>(size.width() * (band + 1) / bands)};
        StoreRunsInBand(target, device, runs, pixels, needsPainter);
        auto t3 = std::chrono::steady_clock::now();
        if (getenv("DBGRUNS"))
            fprintf(stderr, "band %u start %.2f map %.2f wait %.2f store %.2f\n", band,
                    std::chrono::duration<double, std::milli>(ts - t0).count(),
                    std::chrono::duration<double, std::milli>(t1 - ts).count(),
                    std::chrono::duration<double, std::milli>(t2 - t1).count(),
                    std::chrono::duration<double, std::milli>(t3 - t2).count());
    };
    {
        std::vector<std::jthread> helpers;
        for (unsigned band = 1; band < bands; ++band)
            helpers.emplace_back(work, band);
        work(0);
    }
    return !needsPainter;
}
