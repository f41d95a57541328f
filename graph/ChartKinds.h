#pragma once

// The chart kinds of the right pane, each described once: the command that chooses it, its name
// on the command line, the value the setting keeps, and how it paints, reads out, scrolls and
// zooms. A new kind is a file that defines its descriptor plus a row of the table below (and its
// command's row in the command table).

#include "data/LapReadout.h"
#include "framework/CDC.h"
#include "graph/LapGraphModel.h"

#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace lapgraph {
// What the right pane shows; the value is what the chart-kind setting keeps.
enum class ChartKind : int { Gap = 0, Positions = 1, LapTimes = 2 };
// The kind a stored value names; the gap chart for a value no kind has.
ChartKind ChartKindFromSetting(int value);
} // namespace lapgraph

// How one driver's line is drawn: dimmed behind the highlighted drivers, wider when highlighted.
struct DriverPen {
    COLORREF colour = 0;
    int width = 1;
    bool dashed = false; // a colour another driver has too

    CPen Pen() const { return CPen(dashed ? PS_DASH : PS_SOLID, width, colour); }
    // A dashed curve leaves the curves under its gaps alone.
    int BackgroundMode() const { return dashed ? TRANSPARENT : OPAQUE; }
};

// What differs between the screen and paper.
struct ChartColours {
    COLORREF background;
    DWORD backgroundRop;
    COLORREF text;
    COLORREF lappingLine;
};

// What a chart kind draws with: the view's choices as they stand, measured for this device.
struct ChartCanvas {
    CDC* dc;              // null while only tracing
    const RaceData* race; // null only under the lap lines, before any race
    lapgraph::Layout layout;
    lapgraph::ViewState view;
    int lapTimeZoom;
    int referenceDriver;         // the driver the gaps are measured to; -1: leader or pace line
    std::vector<int> order;      // drivers in drawing order, highlighted ones last
    std::vector<DriverPen> pens; // by driver index; empty while only tracing
    ChartColours colours;
    int lapLabelWidth; // the margin the chart keeps from the right edge
    // Where every driver stood at every slot, worked out when first asked for and kept by the view
    // until the race changes.
    std::function<const RacePositions&()> positions;
};

// The zoom levels the view keeps; each kind moves at most one of them.
struct ZoomLevels {
    int gap;
    int lapTime;
};

struct ChartKindInfo {
    lapgraph::ChartKind kind;
    UINT command;        // the menu item, key and button that choose it
    const char* cliName; // render --chart NAME
    const char* caption; // the chart's heading in the web report
    // The layers of the picture, each may be null: under the lap lines (drawn even before the
    // race has two laps), then over them but under the printed legend, then over the legend.
    void (*paintUnderLapLines)(const ChartCanvas& canvas) = nullptr;
    void (*paintUnderLegend)(const ChartCanvas& canvas) = nullptr;
    void (*paintOverLegend)(const ChartCanvas& canvas) = nullptr;
    // Each driver's line as painted, in device pixels and drawing order, for the read-out.
    std::vector<CurveTrace> (*trace)(const ChartCanvas& canvas);
    // A chart that does not scroll fits the window, and its scroll bar shows disabled.
    bool scrolls = false;
    // Moves the kind's own zoom level one step; null when the chart always fits.
    void (*zoom)(ZoomLevels& levels, bool zoomIn) = nullptr;
    // Zoom to Fit: sets the kind's zoom level (and the scroll position) so that every curve shows
    // whole and fills the height; null when the chart always fits.
    void (*fit)(const ChartCanvas& canvas, ZoomLevels& levels, int& scrollPos) = nullptr;
};

// Each defined in the file of its kind.
extern const ChartKindInfo kGapChart;
extern const ChartKindInfo kPositionChart;
extern const ChartKindInfo kLapTimeChart;

// In the order of the menu, the toolbar and the command line's help.
inline constexpr const ChartKindInfo* kChartKindTable[] = {&kGapChart, &kPositionChart, &kLapTimeChart};

inline std::span<const ChartKindInfo* const> ChartKinds() {
    return kChartKindTable;
}
// The descriptor of a kind; the gap chart's for a kind the table lacks.
const ChartKindInfo& ChartKindOf(lapgraph::ChartKind kind);
// The kind a command or a command-line name chooses; null when none does.
const ChartKindInfo* ChartKindForCommand(UINT command);
const ChartKindInfo* ChartKindNamed(std::string_view cliName);
