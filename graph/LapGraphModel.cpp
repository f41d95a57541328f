#include "graph/LapGraphModel.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lapgraph {
namespace {
// Candidate grid spacings in seconds, finest first; 0 is no grid at all.
constexpr std::array<std::int64_t, 14> kGridStepsSeconds = {0,  1,  2,   3,   5,   10,  20,
                                                            30, 60, 120, 180, 240, 300, 1000};

// n / d rounded to the nearest, halves away from zero: the device mapping's rounding.
int DivideRounded(std::int64_t n, std::int64_t d) {
    if (d < 0)
        n = -n, d = -d;
    return static_cast<int>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}
// Zoom to Fit keeps the curves this far from the band's ends: a twentieth of it, a few rows at least.
constexpr int kFitMarginMin = 4;
constexpr int kFitMarginDivisor = 20;
} // namespace

int VerticalExtent(int zoom) {
    return static_cast<int>(static_cast<std::int64_t>(zoom) * kMsPerZoomStep / kGapUnitMs);
}

int SignedExtent(const ViewState& view) {
    const int extent = VerticalExtent(view.zoom);
    return view.mirrored ? extent : -extent;
}

Layout ComputeLayout(const GraphRect& graph, const AxisMetrics& axis, const ViewState& view) {
    Layout layout;
    layout.graph = graph;
    layout.extent = VerticalExtent(view.zoom);
    layout.signedExtent = SignedExtent(view);
    layout.x0 = graph.left + axis.timeLabelWidth;
    layout.plotWidth = graph.right - layout.x0;
    layout.plotHeight = graph.Height();
    layout.yAxis =
        view.mirrored ? graph.top + 2 * axis.lapLabelHeight : graph.bottom - 2 * axis.lapLabelHeight;
    layout.lineHeight = axis.lineHeight;
    return layout;
}

std::uint32_t RaceTimes::Leader(int slot) const {
    if (leaders == nullptr || slot < 0 || slot >= static_cast<int>(leaders->size()))
        return kNoTime;
    return (*leaders)[static_cast<std::size_t>(slot)];
}

std::uint32_t RaceTimes::Last(int slot) const {
    if (lasts == nullptr || slot < 0 || slot >= static_cast<int>(lasts->size()))
        return 0;
    return (*lasts)[static_cast<std::size_t>(slot)];
}

RaceTimes TimesOf(const RaceData& race) {
    return RaceTimes{std::max(0, race.lapCount), &race.leaderTimes, &race.lastTimes};
}

std::uint32_t ReferenceTime(const RaceTimes& times, int slot, bool relative) {
    if (!relative)
        return times.Leader(slot);
    const int lastSlot = times.slotCount - 1;
    if (lastSlot < 1)
        return 0;
    // Truncated to whole ms per lap first, then stepped; wraps like the 32-bit original.
    const std::uint32_t perLap = times.Leader(lastSlot) / static_cast<std::uint32_t>(lastSlot);
    return perLap * static_cast<std::uint32_t>(slot);
}

ReferenceSeries ReferenceSeriesOf(const RaceTimes& times, bool relative) {
    ReferenceSeries series(static_cast<std::size_t>(times.slotCount));
    for (int slot = 0; slot < times.slotCount; ++slot)
        series[static_cast<std::size_t>(slot)] = ReferenceTime(times, slot, relative);
    return series;
}

ReferenceSeries DriverReferenceSeries(const RaceTimes& times, const LapArray& laps) {
    ReferenceSeries series(static_cast<std::size_t>(times.slotCount));
    for (int slot = 0; slot < times.slotCount; ++slot)
        if (const LapRecord* lap = laps.GetAt(slot))
            series[static_cast<std::size_t>(slot)] = lap->raceTime;
    return series;
}

ReferenceSeries ReferenceSeriesFor(const RaceData& race, int referenceDriver, bool relative) {
    const RaceTimes times = TimesOf(race);
    if (referenceDriver != -1)
        return DriverReferenceSeries(times, race.drivers->GetAt(referenceDriver)->laps);
    return ReferenceSeriesOf(times, relative);
}

int GapValue(std::uint32_t time, std::uint32_t reference) {
    // The difference wraps modulo 2^32 and is then read as signed: ahead of the reference is negative.
    const auto difference = static_cast<std::int32_t>(time - reference);
    return std::clamp(difference / kGapUnitMs, kLowestGap, kHighestGap);
}

int SlotOffset(int slot, int plotWidth, int slotCount) {
    const int spans = std::max(1, slotCount - 1);
    return static_cast<int>(static_cast<std::int64_t>(slot) * plotWidth / spans);
}

int GapToRow(int gap, const Layout& layout, const ViewState& view) {
    if (layout.extent == 0)
        return layout.yAxis;
    const std::int64_t shown =
        view.mirrored ? std::int64_t{gap} - view.scrollPos : std::int64_t{gap} + view.scrollPos;
    return layout.yAxis + DivideRounded(shown * layout.plotHeight, layout.signedExtent);
}

int GridStep(int plotHeight, int lineHeight, int extent) {
    // A line height of 0 (no font measured yet) must not divide by zero.
    const int rowHeight = std::max(1, lineHeight + lineHeight / 2);
    const int rows = std::max(1, plotHeight / rowHeight);
    const std::int64_t minStep = extent / rows;
    for (const std::int64_t seconds : kGridStepsSeconds) {
        if (seconds * 1000 / kGapUnitMs >= minStep)
            return static_cast<int>(seconds * 1000 / kGapUnitMs);
    }
    // Coarser than the table: a step no gap reaches.
    return std::numeric_limits<int>::max() / kGapUnitMs;
}

int FirstGridValue(int step) {
    return step > 0 ? (-kScrollLimit / step) * step : 0;
}

std::string TimeLabel(int gap) {
    const std::int64_t ms = std::int64_t{kGapUnitMs} * std::abs(std::int64_t{gap});
    const auto minutes = static_cast<int>(ms / 60000);
    const auto seconds = static_cast<int>(((ms + 500) / 1000) % 60);
    char text[32];
    std::snprintf(text, sizeof text, "%c%02d:%02d", gap >= 0 ? ' ' : '-', minutes, seconds);
    return text;
}

int LapLabelInterval(int plotWidth, int slotCount, int lapLabelWidth) {
    const int fit = std::max(1, plotWidth / std::max(1, lapLabelWidth));
    return slotCount / fit + 1;
}

bool IsLapLabelled(int lapNumber, int slotCount, int interval) {
    // With an odd count the last lap is labelled, with an even one the first.
    return interval > 0 && (lapNumber + slotCount % 2 - 1) % interval == 0;
}

namespace {
std::optional<std::uint32_t> ReferenceAt(const ReferenceSeries& reference, int slot) {
    if (slot < 0 || slot >= static_cast<int>(reference.size()))
        return std::nullopt;
    return reference[static_cast<std::size_t>(slot)];
}

// One lapping line: each stretch of slots where it applies, from one slot before to one after.
// A slot without a reference has no point: the stretch breaks there.
bool TraceLappingLine(const RaceTimes& times, const ReferenceSeries& reference, int lapsDown,
                      LappingLine& line) {
    bool appliesSomewhere = false;
    bool drawing = false;
    for (int slot = 0; slot + lapsDown < times.slotCount; ++slot) {
        const std::uint32_t leaderLater = times.Leader(slot + lapsDown);
        const bool applies = times.Last(slot) > leaderLater;
        appliesSomewhere = appliesSomewhere || applies;
        const std::optional<std::uint32_t> here = ReferenceAt(reference, slot);
        if (!here) {
            drawing = false;
            continue;
        }
        const PenStep step{true, slot, GapValue(leaderLater, *here)};
        if (applies) {
            if (leaderLater == *here)
                continue;
            const std::optional<std::uint32_t> before = ReferenceAt(reference, slot - 1);
            if (!drawing && slot > 0 && before) {
                line.steps.push_back({false, slot - 1, GapValue(times.Leader(slot - 1 + lapsDown), *before)});
                line.steps.push_back(step);
            } else if (!drawing) {
                line.steps.push_back({false, slot, step.gap});
            } else {
                line.steps.push_back(step);
            }
            drawing = true;
        } else {
            if (drawing)
                line.steps.push_back(step);
            drawing = false;
        }
    }
    return appliesSomewhere;
}
} // namespace

std::vector<LappingLine> LappingLines(const RaceTimes& times, bool relative) {
    return LappingLines(times, ReferenceSeriesOf(times, relative));
}

std::vector<LappingLine> LappingLines(const RaceTimes& times, const ReferenceSeries& reference) {
    std::vector<LappingLine> lines;
    for (int lapsDown = 1; lapsDown < times.slotCount; ++lapsDown) {
        LappingLine line{lapsDown, {}};
        const bool applied = TraceLappingLine(times, reference, lapsDown, line);
        lines.push_back(std::move(line));
        if (!applied)
            break;
    }
    return lines;
}

namespace {
// Calls visit(lap, referenceTime) for every lap of every driver that has a reference to be
// measured against.
template <typename Visit>
void ForEachMeasuredLap(const RaceData& race, const ReferenceSeries& reference, Visit visit) {
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        const LapArray& laps = race.drivers->GetAt(d)->laps;
        for (int slot = 0; slot < laps.GetSize(); ++slot) {
            const LapRecord* lap = laps.GetAt(slot);
            if (const std::optional<std::uint32_t> here = ReferenceAt(reference, slot);
                lap != nullptr && here)
                visit(*lap, *here);
        }
    }
}
} // namespace

std::optional<ViewFit> FitToReference(const RaceData& race, const ReferenceSeries& reference, bool mirrored) {
    std::int64_t ahead = 0;  // ms, the most negative gap
    std::int64_t behind = 0; // ms, the largest gap
    ForEachMeasuredLap(race, reference, [&](const LapRecord& lap, std::uint32_t here) {
        std::int64_t gap = static_cast<std::int32_t>(lap.raceTime - here);
        // An event mark reaches further than the lap's own point, as in the lap statistics.
        if ((lap.flags & (kLapEventA | kLapEventB)) != 0 && lap.eventTime > lap.raceTime)
            gap = std::max<std::int64_t>(gap, static_cast<std::int32_t>(lap.eventTime - here));
        ahead = std::min(ahead, gap);
        behind = std::max(behind, gap);
    });
    if (behind == ahead)
        return std::nullopt;
    const std::int64_t aheadUnits = std::max<std::int64_t>(ahead / kGapUnitMs, -kScrollLimit);
    const auto zoom = static_cast<int>(
        std::min<std::int64_t>((behind - ahead) / kMsPerZoomStep + 1, std::numeric_limits<int>::max()));
    const auto scroll = static_cast<int>(mirrored ? aheadUnits : -aheadUnits);
    return ViewFit{zoom, scroll};
}

std::optional<GapSpan> CurveGapSpan(const RaceData& race, const ReferenceSeries& reference) {
    std::optional<GapSpan> span;
    const auto reach = [&span](int gap) {
        span = span ? GapSpan{std::min(span->low, gap), std::max(span->high, gap)} : GapSpan{gap, gap};
    };
    ForEachMeasuredLap(race, reference, [&reach](const LapRecord& lap, std::uint32_t here) {
        reach(GapValue(lap.raceTime, here));
        if ((lap.flags & (kLapEventA | kLapEventB)) != 0)
            reach(GapValue(lap.eventTime, here));
    });
    return span;
}

int FitMargin(int bandHeight) {
    return std::max(kFitMarginMin, bandHeight / kFitMarginDivisor);
}

ViewFit FitSpanToBand(const GapSpan& span, int plotHeight, int bandHeight, bool mirrored) {
    const std::int64_t usable = std::max(1, bandHeight - 2 * FitMargin(bandHeight));
    const std::int64_t height = std::max(1, plotHeight);
    // The extent E must show span units in usable of height rows: E >= span * height / usable.
    const std::int64_t unitsPerZoom = VerticalExtent(1);
    const std::int64_t needed = std::int64_t{span.high - span.low} * height;
    const std::int64_t zoom =
        std::max<std::int64_t>(kMinZoom, (needed + usable * unitsPerZoom - 1) / (usable * unitsPerZoom));
    const std::int64_t extent = zoom * unitsPerZoom;
    // The span's middle lands bandHeight / 2 rows from the axis line.
    const int centred =
        DivideRounded((std::int64_t{span.low} + span.high) * height - bandHeight * extent, 2 * height);
    const int scroll = std::clamp(mirrored ? centred : -centred, -kScrollLimit, kScrollLimit);
    return ViewFit{static_cast<int>(std::min<std::int64_t>(zoom, std::numeric_limits<int>::max())), scroll};
}

ScrollBarSettings ScrollBarFor(const ViewState& view) {
    return ScrollBarSettings{-kScrollLimit, kScrollLimit, VerticalExtent(view.zoom), view.scrollPos};
}

int ZoomedIn(int zoom) {
    return std::max(kMinZoom, zoom - 1);
}

int ZoomedOut(int zoom) {
    return std::min(kMaxZoom, zoom + 1);
}

std::optional<int> AutoZoom(std::uint32_t maxGap, bool relative) {
    const auto gap = static_cast<std::int32_t>(maxGap);
    if (gap <= 0)
        return std::nullopt;
    const std::int64_t spread = std::int64_t{gap} * (relative ? 2 : 1);
    return static_cast<int>(spread / kMsPerZoomStep + 1);
}

int ScrolledTo(ScrollRequest request, const ViewState& view, int trackPos) {
    const int p = view.scrollPos;
    const int page = VerticalExtent(view.zoom);
    const int tenth = static_cast<int>(std::int64_t{view.zoom} * kMsPerZoomStep / kKeyStepDivisor);
    const auto up = [p](int step) {
        return static_cast<int>(std::max<std::int64_t>(-kScrollLimit, std::int64_t{p} - step));
    };
    const auto down = [p](int step) {
        return static_cast<int>(std::min<std::int64_t>(kScrollLimit, std::int64_t{p} + step));
    };
    switch (request) {
    case ScrollRequest::LineUp:
        return up(kScrollLineStep);
    case ScrollRequest::LineDown:
        return down(kScrollLineStep);
    case ScrollRequest::PageUp:
        return up(page);
    case ScrollRequest::PageDown:
        return down(page);
    case ScrollRequest::TenthUp:
        return up(tenth);
    case ScrollRequest::TenthDown:
        return down(tenth);
    case ScrollRequest::Track:
        return std::clamp(trackPos, -kScrollLimit, kScrollLimit);
    case ScrollRequest::Top:
        return -kScrollLimit;
    case ScrollRequest::Bottom:
        return kScrollLimit;
    case ScrollRequest::Origin:
        return 0;
    }
    return p;
}

} // namespace lapgraph
