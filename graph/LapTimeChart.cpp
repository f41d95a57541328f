#include "common/ChartKindNames.h"
#include "common/CommandIds.h"
#include "graph/AnalysisCharts.h"

namespace {

// A lap beyond the range is drawn on its edge with a small arrow pointing off the chart.
constexpr int kArrowReach = 3;

void DrawTimeGrid(const ChartCanvas& canvas, const lapgraph::LapTimeRange& range,
                  const lapgraph::PlotBand& band) {
    const lapgraph::Layout& layout = canvas.layout;
    const std::uint32_t step = lapgraph::LapTimeGridStep(range, band, layout.lineHeight);
    for (std::uint32_t time = (range.low + step - 1) / step * step; time <= range.high; time += step) {
        const int row = lapgraph::LapTimeRow(time, range, band, layout.lineHeight, canvas.view.mirrored);
        canvas.dc->MoveTo(layout.x0, row);
        canvas.dc->LineTo(layout.graph.right, row);
        DrawRowLabel(canvas, row, lapgraph::LapTimeLabel(time));
    }
}

void AddBeyondMark(PolylineField& line, int x, int y, bool pointsUp) {
    const int tip = pointsUp ? y - kArrowReach : y + kArrowReach;
    line.MoveTo(x - kArrowReach, y);
    line.LineTo(x, tip);
    line.LineTo(x + kArrowReach + 1, y + (pointsUp ? 1 : -1));
    line.MoveTo(x, y);
}

std::vector<CurveTrace> TraceLapTimes(const ChartCanvas& canvas, const lapgraph::LapTimeRange& range) {
    const RaceData& race = *canvas.race;
    const lapgraph::Layout& layout = canvas.layout;
    const bool mirrored = canvas.view.mirrored;
    std::vector<CurveTrace> curves;
    const lapgraph::PlotBand band = lapgraph::ChartBand(layout, mirrored);
    const int slotCount = std::max(0, race.lapCount);
    for (const int d : canvas.order) {
        const LapArray& laps = race.drivers->GetAt(d)->laps;
        CurveTrace curve{d, {}};
        for (int slot = 0; slot < laps.GetSize(); ++slot) {
            const LapRecord* lap = laps.GetAt(slot);
            if (lap == nullptr || !lapgraph::HasLapTime(*lap))
                continue;
            curve.points.push_back(
                {layout.x0 + lapgraph::SlotOffset(slot, layout.plotWidth, slotCount),
                 lapgraph::LapTimeRow(lap->lapTime, range, band, layout.lineHeight, mirrored), slot,
                 !curve.points.empty()});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::vector<CurveTrace> TraceLapTimeChart(const ChartCanvas& canvas) {
    const std::optional<lapgraph::LapTimeRange> range =
        lapgraph::LapTimeRangeOf(*canvas.race, lapgraph::CutoffPercent(canvas.lapTimeZoom));
    if (!range)
        return {};
    return TraceLapTimes(canvas, *range);
}

void PaintLapTimeChart(const ChartCanvas& canvas) {
    const std::optional<lapgraph::LapTimeRange> range =
        lapgraph::LapTimeRangeOf(*canvas.race, lapgraph::CutoffPercent(canvas.lapTimeZoom));
    if (!range)
        return;
    DrawTimeGrid(canvas, *range, lapgraph::ChartBand(canvas.layout, canvas.view.mirrored));
    DrawTraces(canvas, TraceLapTimes(canvas, *range),
               [&](PolylineField& line, const LapRecord& lap, const TracePoint& point) {
                   if (lap.lapTime > range->high)
                       AddBeyondMark(line, point.x, point.y, !canvas.view.mirrored);
               });
}

void ZoomLapTimes(ZoomLevels& levels, bool zoomIn) {
    levels.lapTime =
        zoomIn ? lapgraph::LapTimeZoomedIn(levels.lapTime) : lapgraph::LapTimeZoomedOut(levels.lapTime);
}

void FitLapTimes(const ChartCanvas& canvas, ZoomLevels& levels, int&) {
    levels.lapTime = lapgraph::LapTimeZoomToFit(*canvas.race);
}

} // namespace

const ChartKindInfo kLapTimeChart{.kind = lapgraph::ChartKind::LapTimes,
                                  .command = ID_VIEW_CHART_LAPTIMES,
                                  .cliName = kLapTimeChartName,
                                  .caption = "Lap time chart",
                                  .paintUnderLegend = PaintLapTimeChart,
                                  .trace = TraceLapTimeChart,
                                  .zoom = ZoomLapTimes,
                                  .fit = FitLapTimes};
