#pragma once

// The two chart kinds beside the gap chart. The view draws what all kinds share (background, lap
// lines and numbers, the printed legend); these draw their own grid, labels and driver lines in
// device units.

#include "framework/CDC.h"
#include "graph/AnalysisChartModel.h"

struct ChartCanvas {
    CDC* dc;
    const RaceData& race;
    lapgraph::Layout layout;
    bool mirrored;
    int lapTimeZoom;
};

void PaintPositionChart(const ChartCanvas& canvas);
void PaintLapTimeChart(const ChartCanvas& canvas);

// Marks shared by both charts, in the pen now selected: a short upright bar for a type A event, a
// cross for a type B event.
void DrawEventMark(CDC* dc, int x, int y, std::uint32_t flags);
// Text right-aligned against the left of the plot, centred on the row.
void DrawRowLabel(const ChartCanvas& canvas, int row, const std::string& text);
