#include "graph/AnalysisChartModel.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace lapgraph {

namespace {
constexpr std::array<int, kLapTimeZoomSteps> kCutoffPercents = {101, 102, 103, 105, 107, 110,
                                                                115, 120, 130, 150, 200};
constexpr std::array<std::uint32_t, 13> kLapTimeGridSteps = {
    100, 200, 500, 1000, 2000, 5000, 10000, 15000, 30000, 60000, 120000, 300000, 600000};
// The range starts this fraction of its span below the fastest lap.
constexpr std::uint32_t kBelowFastestDivisor = 20;
// A field of equal laps still gets a range of a second.
constexpr std::uint32_t kSmallestSpan = 1000;
} // namespace

PlotBand ChartBand(const Layout& layout, bool mirrored) {
    return mirrored ? PlotBand{layout.yAxis, layout.graph.bottom} : PlotBand{layout.graph.top, layout.yAxis};
}

int PositionRow(int position, int rows, const PlotBand& band) {
    if (rows < 1)
        return band.top;
    const long long twice = 2LL * position - 1;
    return band.top + static_cast<int>(twice * band.Height() / (2LL * rows));
}

int PositionLabelInterval(int rows, const PlotBand& band, int lineHeight) {
    if (rows < 1 || band.Height() <= 0)
        return 1;
    const int pitch = std::max(1, band.Height() / rows);
    return std::max(1, (lineHeight + pitch - 1) / pitch);
}

int CutoffPercent(int lapTimeZoom) {
    return kCutoffPercents[static_cast<std::size_t>(std::clamp(lapTimeZoom, 0, kLapTimeZoomSteps - 1))];
}

int LapTimeZoomedIn(int lapTimeZoom) {
    return std::max(0, lapTimeZoom - 1);
}

int LapTimeZoomedOut(int lapTimeZoom) {
    return std::min(kLapTimeZoomSteps - 1, lapTimeZoom + 1);
}

bool HasLapTime(const LapRecord& lap) {
    return lap.lapTime > 0 && lap.lapTime < kNoTime;
}

std::optional<LapTimeRange> LapTimeRangeOf(const RaceData& race, int cutoffPercent) {
    if (race.drivers == nullptr)
        return std::nullopt;
    std::vector<std::uint32_t> times;
    std::uint32_t fastestValid = kNoTime;
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        const LapArray& laps = race.drivers->GetAt(d)->laps;
        for (int slot = 0; slot < laps.GetSize(); ++slot) {
            const LapRecord* lap = laps.GetAt(slot);
            if (lap == nullptr || !HasLapTime(*lap))
                continue;
            times.push_back(lap->lapTime);
            if ((lap->flags & kLapAnyMark) == 0)
                fastestValid = std::min(fastestValid, lap->lapTime);
        }
    }
    if (times.empty())
        return std::nullopt;
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    const std::uint64_t median = *middle;
    const std::uint32_t fastest =
        fastestValid < kNoTime ? fastestValid : *std::min_element(times.begin(), times.end());
    std::uint32_t cutoff = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(median * static_cast<std::uint64_t>(cutoffPercent) / 100, kNoTime - 1));
    if (cutoff < fastest + kSmallestSpan)
        cutoff = fastest + kSmallestSpan;
    const std::uint32_t below = (cutoff - fastest) / kBelowFastestDivisor;
    return LapTimeRange{fastest > below ? fastest - below : 0, cutoff};
}

int LapTimeZoomToFit(const RaceData& race) {
    std::uint32_t slowest = 0;
    for (int d = 0; race.drivers != nullptr && d < race.drivers->GetCount(); ++d) {
        const LapArray& laps = race.drivers->GetAt(d)->laps;
        for (int slot = 0; slot < laps.GetSize(); ++slot)
            if (const LapRecord* lap = laps.GetAt(slot); lap != nullptr && HasLapTime(*lap))
                slowest = std::max(slowest, lap->lapTime);
    }
    for (int zoom = 0; zoom < kLapTimeZoomSteps - 1; ++zoom) {
        const std::optional<LapTimeRange> range = LapTimeRangeOf(race, CutoffPercent(zoom));
        if (range && range->high >= slowest)
            return zoom;
    }
    return kLapTimeZoomSteps - 1;
}

int LapTimeRow(std::uint32_t lapTime, const LapTimeRange& range, const PlotBand& band, int lineHeight,
               bool mirrored) {
    // Half a line clear of either end, so that the edge labels fit inside the band.
    const int margin = lineHeight / 2;
    const long long usable = std::max(0, band.Height() - 2 * margin);
    const std::uint32_t time = std::clamp(lapTime, range.low, range.high);
    const long long span = std::max<long long>(1, static_cast<long long>(range.high) - range.low);
    const int offset = static_cast<int>((static_cast<long long>(time) - range.low) * usable / span);
    return mirrored ? band.top + margin + offset : band.bottom - margin - offset;
}

std::uint32_t LapTimeGridStep(const LapTimeRange& range, const PlotBand& band, int lineHeight) {
    const int rows = std::max(1, band.Height() / std::max(1, lineHeight + lineHeight / 2));
    const std::uint32_t minStep = (range.high - range.low) / static_cast<std::uint32_t>(rows);
    for (const std::uint32_t step : kLapTimeGridSteps)
        if (step >= minStep)
            return step;
    return kLapTimeGridSteps.back();
}

std::string LapTimeLabel(std::uint32_t lapTime) {
    char text[24];
    std::snprintf(text, sizeof text, "%u:%02u.%u", lapTime / 60000, lapTime % 60000 / 1000,
                  lapTime % 1000 / 100);
    return text;
}

} // namespace lapgraph
