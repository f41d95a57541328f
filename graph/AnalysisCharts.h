#pragma once

// The two chart kinds beside the gap chart. The view draws what all kinds share (background, lap
// lines and numbers, the printed legend); these draw their own grid, labels and driver lines in
// device units.

#include "data/LapReadout.h"
#include "framework/CDC.h"
#include "graph/AnalysisChartModel.h"

#include <functional>
#include <vector>

// How one driver's line is drawn: dimmed behind the highlighted drivers, wider when highlighted.
struct DriverPen {
    COLORREF colour = 0;
    int width = 1;
};

struct ChartCanvas {
    CDC* dc;
    const RaceData& race;
    lapgraph::Layout layout;
    bool mirrored;
    int lapTimeZoom;
    std::vector<int> order;      // drivers in drawing order, highlighted ones last
    std::vector<DriverPen> pens; // by driver index
};

void PaintPositionChart(const ChartCanvas& canvas);
void PaintLapTimeChart(const ChartCanvas& canvas);

// Each driver's line as the charts draw it, in device pixels and drawing order, for the read-out.
std::vector<CurveTrace> TracePositionChart(const RaceData& race, const lapgraph::Layout& layout,
                                           bool mirrored, const std::vector<int>& order);
std::vector<CurveTrace> TraceLapTimeChart(const RaceData& race, const lapgraph::Layout& layout, bool mirrored,
                                          int lapTimeZoom, const std::vector<int>& order);

// One driver's line through its trace, in its pen, with the event marks; lapMark adds what a
// chart marks at a lap of its own.
using LapMark = std::function<void(const LapRecord& lap, const TracePoint& point)>;
void DrawTrace(const ChartCanvas& canvas, const CurveTrace& curve, const LapMark& lapMark = {});

// Marks shared by both charts, in the pen now selected: a short upright bar for a type A event, a
// cross for a type B event.
void DrawEventMark(CDC* dc, int x, int y, std::uint32_t flags);
// Text right-aligned against the left of the plot, centred on the row.
void DrawRowLabel(const ChartCanvas& canvas, int row, const std::string& text);
