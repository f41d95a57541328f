#pragma once

// What the two chart kinds beside the gap chart share. The view draws what all kinds share
// (background, lap lines and numbers, the printed legend); these draw their own grid, labels and
// driver lines in device units.

#include "graph/AnalysisChartModel.h"
#include "graph/ChartKinds.h"

#include <functional>
#include <vector>

// One driver's line through its trace, in its pen, with the event marks; lapMark adds what a
// chart marks at a lap of its own.
using LapMark = std::function<void(const LapRecord& lap, const TracePoint& point)>;
void DrawTrace(const ChartCanvas& canvas, const CurveTrace& curve, const LapMark& lapMark = {});

// Marks shared by both charts, in the pen now selected: a short upright bar for a type A event, a
// cross for a type B event.
void DrawEventMark(CDC* dc, int x, int y, std::uint32_t flags);
// Text right-aligned against the left of the plot, centred on the row.
void DrawRowLabel(const ChartCanvas& canvas, int row, const std::string& text);
