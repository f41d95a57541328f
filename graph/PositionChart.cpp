#include "common/ChartKindNames.h"
#include "common/CommandIds.h"
#include "data/RacePositions.h"
#include "graph/AnalysisCharts.h"

namespace {
constexpr int kEventMarkReach = 4;
} // namespace

void DrawEventMark(CDC* dc, int x, int y, std::uint32_t flags) {
    if ((flags & kLapEventA) != 0) {
        for (const int strokeX : {x - 1, x, x + 1}) {
            dc->MoveTo(strokeX, y - kEventMarkReach);
            dc->LineTo(strokeX, y + kEventMarkReach + 1);
        }
    }
    if ((flags & kLapEventB) != 0) {
        dc->MoveTo(x - kEventMarkReach, y - kEventMarkReach);
        dc->LineTo(x + kEventMarkReach + 1, y + kEventMarkReach + 1);
        dc->MoveTo(x - kEventMarkReach, y + kEventMarkReach);
        dc->LineTo(x + kEventMarkReach + 1, y - kEventMarkReach - 1);
    }
    dc->MoveTo(x, y);
}

void DrawTrace(const ChartCanvas& canvas, const CurveTrace& curve, const LapMark& lapMark) {
    const DriverRecord& driver = *canvas.race->drivers->GetAt(curve.driver);
    const DriverPen& style = canvas.pens[static_cast<std::size_t>(curve.driver)];
    CPen pen(style.PenStyle(), style.width, style.colour);
    CPen* previous = canvas.dc->SelectObject(&pen);
    const int bkMode = canvas.dc->SetBkMode(style.BackgroundMode());
    for (const TracePoint& point : curve.points) {
        if (point.joined)
            canvas.dc->LineTo(point.x, point.y);
        else
            canvas.dc->MoveTo(point.x, point.y);
        const LapRecord& lap = *driver.laps.GetAt(point.slot);
        if (lapMark)
            lapMark(lap, point);
        DrawEventMark(canvas.dc, point.x, point.y, lap.flags);
    }
    canvas.dc->SetBkMode(bkMode);
    canvas.dc->SelectObject(previous);
}

void DrawRowLabel(const ChartCanvas& canvas, int row, const std::string& text) {
    const CSize extent = canvas.dc->GetTextExtent(text);
    const int gutter = canvas.layout.lineHeight / 2;
    canvas.dc->TextOut(canvas.layout.x0 - gutter - extent.cx, row - canvas.layout.lineHeight / 2, text);
}

namespace {

int FieldRows(const RacePositions& positions) {
    int rows = 0;
    for (int slot = 0; slot < positions.SlotCount(); ++slot)
        rows = std::max(rows, positions.FieldSizeAt(slot));
    return rows;
}

void DrawPositionGrid(const ChartCanvas& canvas, const lapgraph::PlotBand& band, int rows) {
    const lapgraph::Layout& layout = canvas.layout;
    const int every = lapgraph::PositionLabelInterval(rows, band, layout.lineHeight);
    for (int position = 1; position <= rows; position += every) {
        const int row = lapgraph::PositionRow(position, rows, band);
        canvas.dc->MoveTo(layout.x0, row);
        canvas.dc->LineTo(layout.graph.right, row);
        DrawRowLabel(canvas, row, std::to_string(position));
    }
}

std::vector<CurveTrace> TracePositions(const ChartCanvas& canvas, const RacePositions& positions, int rows) {
    const lapgraph::Layout& layout = canvas.layout;
    std::vector<CurveTrace> curves;
    const lapgraph::PlotBand band = lapgraph::ChartBand(layout, canvas.view.mirrored);
    const int slotCount = std::max(0, canvas.race->lapCount);
    for (const int d : canvas.order) {
        CurveTrace curve{d, {}};
        for (int slot = 0; slot < positions.SlotCount(); ++slot) {
            const int position = positions.At(d, slot);
            if (position == 0)
                continue; // the next line bridges the missing lap
            curve.points.push_back({layout.x0 + lapgraph::SlotOffset(slot, layout.plotWidth, slotCount),
                                    lapgraph::PositionRow(position, rows, band), slot,
                                    !curve.points.empty()});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::vector<CurveTrace> TracePositionChart(const ChartCanvas& canvas) {
    if (canvas.race->drivers == nullptr)
        return {};
    const RacePositions positions(*canvas.race);
    return TracePositions(canvas, positions, FieldRows(positions));
}

void PaintPositionChart(const ChartCanvas& canvas) {
    if (canvas.race->drivers == nullptr)
        return;
    const RacePositions positions(*canvas.race);
    const int rows = FieldRows(positions);
    if (rows == 0)
        return;
    DrawPositionGrid(canvas, lapgraph::ChartBand(canvas.layout, canvas.view.mirrored), rows);
    for (const CurveTrace& curve : TracePositions(canvas, positions, rows))
        DrawTrace(canvas, curve);
}

} // namespace

// Positions always fit the window: nothing to scroll, nothing to zoom.
const ChartKindInfo kPositionChart{.kind = lapgraph::ChartKind::Positions,
                                   .command = ID_VIEW_CHART_POSITIONS,
                                   .cliName = kPositionChartName,
                                   .caption = "Position chart",
                                   .paintUnderLegend = PaintPositionChart,
                                   .trace = TracePositionChart};
