// A field of polylines in one call. On an image, each core builds and maps a share of the items,
// then stores every line's pixels inside its own band of columns, in the items' order: the bands
// never share a pixel, so the picture is the one a single core draws.

#include "framework/CDC.h"
#include "framework/HairlinePixels.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <thread>

// One core's share of the field: its items' runs, their points on the device and their pens'
// pixels.
struct CDC::FieldPart {
    PolylineField field;
    std::vector<QPoint> device;
    std::vector<QRgb> pixels;
};

namespace {
// Smaller fields are drawn on one core: starting threads would cost more than they save.
constexpr int kBandedItemsMinimum = 256;
constexpr unsigned kMostBands = 8;

// The pen of each run as the image stores it; an item's runs share their pen.
void FindRunPixels(const std::vector<PolylineField::Run>& runs, std::vector<QRgb>& pixels) {
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

// Each item starts with no pen of its own: until it selects one, it draws with the context's.
void BuildItems(int begin, int end, const std::function<void(int, PolylineField&)>& build,
                PolylineField& field) {
    field.Clear();
    for (int item = begin; item < end; ++item) {
        field.SelectPen(nullptr, OPAQUE);
        build(item, field);
    }
}

// Every line of the runs that reaches into the band, in the runs' order.
void StoreRunsInBand(drawing::RasterTarget target, const std::vector<QPoint>& device,
                     const PolylineField& field, const std::vector<QRgb>& pixels) {
    const std::vector<PolylineField::Run>& runs = field.Runs();
    for (std::size_t r = 0; r < runs.size(); ++r) {
        target.pixel = pixels[r];
        QPoint from = device[static_cast<std::size_t>(runs[r].first)];
        for (auto i = static_cast<std::size_t>(runs[r].first) + 1; i < field.RunEnd(r); ++i) {
            const QPoint to = device[i];
            // A line's pixels lie between its ends' columns.
            if (to != from && std::max(from.x(), to.x()) >= target.bandLeft &&
                std::min(from.x(), to.x()) < target.bandRight)
                drawing::StoreLine(target, from, to);
            from = to;
        }
    }
}
} // namespace

void CDC::DrawPolylineField(int itemCount, const std::function<void(int, PolylineField&)>& build) {
    // Kept from paint to paint: a large field's take megabytes, and fresh pages cost more than
    // drawing into them.
    static thread_local std::vector<FieldPart> keptParts;
    std::vector<FieldPart>& parts = keptParts; // the bands' threads have buffers of their own
    static const unsigned bands = std::min(std::thread::hardware_concurrency(), kMostBands);
    if (bands >= 2 && itemCount >= kBandedItemsMinimum && LinePainter() != nullptr && m_bRasterEngine &&
        DirectPixels() != nullptr) {
        // Lines held back for the painter were drawn before these.
        FlushLines();
        parts.resize(bands);
        if (DrawFieldInBands(parts, itemCount, build))
            return;
    } else {
        parts.resize(1);
        BuildItems(0, itemCount, build, parts[0].field);
    }
    ReplayField(parts);
}

// Builds and maps each share on its own core, then stores the lines band by band. False, with
// nothing stored, when a pen is not a solid hairline: only the painter draws its patterns.
bool CDC::DrawFieldInBands(std::vector<FieldPart>& parts, int itemCount,
                           const std::function<void(int, PolylineField&)>& build) {
    const auto bands = static_cast<int>(parts.size());
    std::atomic<bool> needsPainter = false;
    std::barrier built(bands);
    const QSize size = m_pRasterImage->size();
    const auto work = [&](int band) {
        FieldPart& part = parts[static_cast<std::size_t>(band)];
        BuildItems(itemCount * band / bands, itemCount * (band + 1) / bands, build, part.field);
        const std::vector<PolylineField::Run>& runs = part.field.Runs();
        if (std::all_of(runs.begin(), runs.end(), [](const PolylineField::Run& run) {
                return run.pen != nullptr && run.pen->IsSolidHairline();
            })) {
            part.device.resize(part.field.Points().size());
            ToDevice(part.field.Points().data(), static_cast<int>(part.device.size()), part.device.data());
            FindRunPixels(runs, part.pixels);
        } else {
            needsPainter = true;
        }
        built.arrive_and_wait();
        if (needsPainter)
            return;
        const drawing::RasterTarget target{m_pRasterBits,
                                           m_nRasterStride,
                                           size,
                                           0,
                                           size.width() * band / bands,
                                           size.width() * (band + 1) / bands};
        for (const FieldPart& share : parts)
            StoreRunsInBand(target, share.device, share.field, share.pixels);
    };
    {
        std::vector<std::jthread> helpers;
        for (int band = 1; band < bands; ++band)
            helpers.emplace_back(work, band);
        work(0);
    }
    if (needsPainter)
        return false;
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        if (!part->field.Runs().empty()) {
            m_state.position = part->field.Points().back();
            break;
        }
    }
    return true;
}

// The runs as their calls draw them, one after another.
void CDC::ReplayField(const std::vector<FieldPart>& parts) {
    CPen* const previousPen = m_state.pPen;
    const int previousBkMode = m_state.bkMode;
    for (const FieldPart& part : parts) {
        const std::vector<CPoint>& points = part.field.Points();
        const std::vector<PolylineField::Run>& runs = part.field.Runs();
        for (std::size_t r = 0; r < runs.size(); ++r) {
            const PolylineField::Run& run = runs[r];
            // A run of the pen already selected keeps it, and the lines it holds back for the
            // painter; one with no pen of its own draws as the context stands.
            if (run.pen != nullptr && run.pen != m_state.pPen)
                SelectObject(run.pen);
            if (run.pen != nullptr)
                SetBkMode(run.bkMode);
            const CPoint& first = points[static_cast<std::size_t>(run.first)];
            MoveTo(first.x, first.y);
            PolylineTo(points.data() + run.first + 1, static_cast<int>(part.field.RunEnd(r)) - run.first - 1);
        }
    }
    if (previousPen != nullptr)
        SelectObject(previousPen);
    SetBkMode(previousBkMode);
}
