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

void DrawRowLabel(const ChartCanvas& canvas, int row, const std::string& text) {
    const CSize extent = canvas.dc->GetAttribDC()->GetTextExtent(text);
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

void DrawPositionLine(const ChartCanvas& canvas, const RacePositions& positions, int driverIndex,
                      const lapgraph::PlotBand& band, int rows) {
    const DriverRecord& driver = *canvas.race.drivers->GetAt(driverIndex);
    CPen pen(PS_SOLID, 1, driver.colour);
    CPen* previous = canvas.dc->SelectObject(&pen);
    const int slotCount = std::max(0, canvas.race.lapCount);
    bool first = true;
    for (int slot = 0; slot < driver.laps.GetSize(); ++slot) {
        const int position = positions.At(driverIndex, slot);
        if (position == 0)
            continue; // the next line bridges the missing lap
        const int x = canvas.layout.x0 + lapgraph::SlotOffset(slot, canvas.layout.plotWidth, slotCount);
        const int y = lapgraph::PositionRow(position, rows, band);
        if (first)
            canvas.dc->MoveTo(x, y);
        else
            canvas.dc->LineTo(x, y);
        first = false;
        DrawEventMark(canvas.dc, x, y, driver.laps.GetAt(slot)->flags);
    }
    canvas.dc->SelectObject(previous);
}

} // namespace

void PaintPositionChart(const ChartCanvas& canvas) {
    if (canvas.race.drivers == nullptr)
        return;
    const RacePositions positions(canvas.race);
    const int rows = FieldRows(positions);
    if (rows == 0)
        return;
    const lapgraph::PlotBand band = lapgraph::ChartBand(canvas.layout, canvas.mirrored);
    DrawPositionGrid(canvas, band, rows);
    for (int d = 0; d < canvas.race.drivers->GetCount(); ++d)
        DrawPositionLine(canvas, positions, d, band, rows);
}
