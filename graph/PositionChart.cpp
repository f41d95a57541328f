#include "common/ChartKindNames.h"
#include "common/CommandIds.h"
#include "data/RacePositions.h"
#include "graph/AnalysisCharts.h"

namespace {
constexpr int kEventMarkReach = 4;
} // namespace

void AddEventMark(PolylineField& line, int x, int y, std::uint32_t flags) {
    if ((flags & kLapEventA) != 0) {
        for (const int strokeX : {x - 1, x, x + 1}) {
            line.MoveTo(strokeX, y - kEventMarkReach);
            line.LineTo(strokeX, y + kEventMarkReach + 1);
        }
    }
    if ((flags & kLapEventB) != 0) {
        line.MoveTo(x - kEventMarkReach, y - kEventMarkReach);
        line.LineTo(x + kEventMarkReach + 1, y + kEventMarkReach + 1);
        line.MoveTo(x - kEventMarkReach, y + kEventMarkReach);
        line.LineTo(x + kEventMarkReach + 1, y - kEventMarkReach - 1);
    }
    line.MoveTo(x, y);
}

void DrawTraces(const ChartCanvas& canvas, const std::vector<CurveTrace>& curves, const LapMark& lapMark) {
    std::vector<CPen> pens;
    pens.reserve(curves.size());
    for (const CurveTrace& curve : curves)
        pens.push_back(canvas.pens[static_cast<std::size_t>(curve.driver)].Pen());
    canvas.dc->DrawPolylineField(static_cast<int>(curves.size()), [&](int item, PolylineField& line) {
        const CurveTrace& curve = curves[static_cast<std::size_t>(item)];
        const DriverRecord& driver = *canvas.race->drivers->GetAt(curve.driver);
        line.SelectPen(&pens[static_cast<std::size_t>(item)],
                       canvas.pens[static_cast<std::size_t>(curve.driver)].BackgroundMode());
        for (const TracePoint& point : curve.points) {
            if (point.joined)
                line.LineTo(point.x, point.y);
            else
                line.MoveTo(point.x, point.y);
            const LapRecord& lap = *driver.laps.GetAt(point.slot);
            if (lapMark)
                lapMark(line, lap, point);
            AddEventMark(line, point.x, point.y, lap.flags);
        }
    });
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
    const RacePositions& positions = canvas.positions();
    return TracePositions(canvas, positions, FieldRows(positions));
}

void PaintPositionChart(const ChartCanvas& canvas) {
    if (canvas.race->drivers == nullptr)
        return;
    const RacePositions& positions = canvas.positions();
    const int rows = FieldRows(positions);
    if (rows == 0)
        return;
    DrawPositionGrid(canvas, lapgraph::ChartBand(canvas.layout, canvas.view.mirrored), rows);
    DrawTraces(canvas, TracePositions(canvas, positions, rows));
}

} // namespace

// Positions always fit the window: nothing to scroll, nothing to zoom.
const ChartKindInfo kPositionChart{.kind = lapgraph::ChartKind::Positions,
                                   .command = ID_VIEW_CHART_POSITIONS,
                                   .cliName = kPositionChartName,
                                   .caption = "Position chart",
                                   .paintUnderLegend = PaintPositionChart,
                                   .trace = TracePositionChart};
