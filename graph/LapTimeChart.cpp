#include "graph/AnalysisCharts.h"

namespace {

// A lap beyond the range is drawn on its edge with a small arrow pointing off the chart.
constexpr int kArrowReach = 3;

void DrawTimeGrid(const ChartCanvas& canvas, const lapgraph::LapTimeRange& range,
                  const lapgraph::PlotBand& band) {
    const lapgraph::Layout& layout = canvas.layout;
    const std::uint32_t step = lapgraph::LapTimeGridStep(range, band, layout.lineHeight);
    for (std::uint32_t time = (range.low + step - 1) / step * step; time <= range.high; time += step) {
        const int row = lapgraph::LapTimeRow(time, range, band, layout.lineHeight, canvas.mirrored);
        canvas.dc->MoveTo(layout.x0, row);
        canvas.dc->LineTo(layout.graph.right, row);
        DrawRowLabel(canvas, row, lapgraph::LapTimeLabel(time));
    }
}

void DrawBeyondMark(CDC* dc, int x, int y, bool pointsUp) {
    const int tip = pointsUp ? y - kArrowReach : y + kArrowReach;
    dc->MoveTo(x - kArrowReach, y);
    dc->LineTo(x, tip);
    dc->LineTo(x + kArrowReach + 1, y + (pointsUp ? 1 : -1));
    dc->MoveTo(x, y);
}

void DrawLapTimeLine(const ChartCanvas& canvas, const DriverRecord& driver,
                     const lapgraph::LapTimeRange& range, const lapgraph::PlotBand& band) {
    CPen pen(PS_SOLID, 1, driver.colour);
    CPen* previous = canvas.dc->SelectObject(&pen);
    const int slotCount = std::max(0, canvas.race.lapCount);
    const int lineHeight = canvas.layout.lineHeight;
    bool first = true;
    for (int slot = 0; slot < driver.laps.GetSize(); ++slot) {
        const LapRecord* lap = driver.laps.GetAt(slot);
        if (lap == nullptr || !lapgraph::HasLapTime(*lap))
            continue;
        const int x = canvas.layout.x0 + lapgraph::SlotOffset(slot, canvas.layout.plotWidth, slotCount);
        const int y = lapgraph::LapTimeRow(lap->lapTime, range, band, lineHeight, canvas.mirrored);
        if (first)
            canvas.dc->MoveTo(x, y);
        else
            canvas.dc->LineTo(x, y);
        first = false;
        if (lap->lapTime > range.high)
            DrawBeyondMark(canvas.dc, x, y, !canvas.mirrored);
        DrawEventMark(canvas.dc, x, y, lap->flags);
    }
    canvas.dc->SelectObject(previous);
}

} // namespace

void PaintLapTimeChart(const ChartCanvas& canvas) {
    const std::optional<lapgraph::LapTimeRange> range =
        lapgraph::LapTimeRangeOf(canvas.race, lapgraph::CutoffPercent(canvas.lapTimeZoom));
    if (!range)
        return;
    const lapgraph::PlotBand band = lapgraph::ChartBand(canvas.layout, canvas.mirrored);
    DrawTimeGrid(canvas, *range, band);
    for (int d = 0; d < canvas.race.drivers->GetCount(); ++d)
        DrawLapTimeLine(canvas, *canvas.race.drivers->GetAt(d), *range, band);
}
