#pragma once

// What the two chart kinds beside the gap chart share. The view draws what all kinds share
// (background, lap lines and numbers, the printed legend); these draw their own grid, labels and
// driver lines in device units.

#include "graph/AnalysisChartModel.h"
#include "graph/ChartKinds.h"

#include <functional>
#include <vector>

// Each driver's line through its trace, in its pen, with the event marks, drawn as one field;
// lapMark adds what a chart marks at a lap of its own.
using LapMark = std::function<void(PolylineField& line, const LapRecord& lap, const TracePoint& point)>;
void DrawTraces(const ChartCanvas& canvas, const std::vector<CurveTrace>& curves,
                const LapMark& lapMark = {});

// Marks shared by both charts, in the line's pen: a short upright bar for a type A event, a cross
// for a type B event.
void AddEventMark(PolylineField& line, int x, int y, std::uint32_t flags);
// Text right-aligned against the left of the plot, centred on the row.
void DrawRowLabel(const ChartCanvas& canvas, int row, const std::string& text);
