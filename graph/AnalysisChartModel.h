#pragma once

// The arithmetic of the position chart and the lap-time chart: where positions and lap times land
// on the device, how their grids are spaced, how far the lap-time range reaches. Lap columns are
// those of the gap chart (SlotOffset). Plain arithmetic; no window needed.

#include "data/RaceData.h"
#include "graph/LapGraphModel.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lapgraph {

// The rows the two charts plot in: from the axis line to the far edge, away from the lap numbers.
struct PlotBand {
    int top = 0;
    int bottom = 0;
    int Height() const { return bottom - top; }
};
PlotBand ChartBand(const Layout& layout, bool mirrored);

// Positions: P1 at the top, one row per position of the field, each row's centre.
int PositionRow(int position, int rows, const PlotBand& band);
// Every how many positions a label and grid line fit, P1 always among them.
int PositionLabelInterval(int rows, const PlotBand& band, int lineHeight);

// Lap times: the cut-off is a percentage of the median lap, chosen by the vertical zoom.
constexpr int kLapTimeZoomSteps = 11;
constexpr int kDefaultLapTimeZoom = 5; // 110 % of the median
int CutoffPercent(int lapTimeZoom);
int LapTimeZoomedIn(int lapTimeZoom);
int LapTimeZoomedOut(int lapTimeZoom);

// From just below the fastest lap to the cut-off, ms; nothing when no lap has a time.
struct LapTimeRange {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};
std::optional<LapTimeRange> LapTimeRangeOf(const RaceData& race, int cutoffPercent);
// Zoom to Fit: the lowest cut-off that leaves no lap beyond the range, the highest when some lap
// is beyond every one.
int LapTimeZoomToFit(const RaceData& race);
bool HasLapTime(const LapRecord& lap);
// Device row of a lap time; times outside the range land on its edge. Slower laps lie lower with
// the origin at top, higher with the origin at bottom.
int LapTimeRow(std::uint32_t lapTime, const LapTimeRange& range, const PlotBand& band, int lineHeight,
               bool mirrored);
// Grid spacing in ms, so that labels keep one and a half lines apart.
std::uint32_t LapTimeGridStep(const LapTimeRange& range, const PlotBand& band, int lineHeight);
// "1:23.0": minutes, seconds and tenths.
std::string LapTimeLabel(std::uint32_t lapTime);

} // namespace lapgraph
