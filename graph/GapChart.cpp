// The gap chart: per driver, lap by lap, how far behind the lap leader, the pace line or a chosen
// driver the driver's race time lies, with event marks, lapping lines and a time grid. It draws
// in gap units through the device's mapping, and scrolls and zooms over them.
#include "common/ChartKindNames.h"
#include "common/CommandIds.h"
#include "graph/AnalysisChartModel.h"
#include "graph/ChartKinds.h"

#include <algorithm>

using lapgraph::Layout;

namespace {

bool RowInside(int row, const lapgraph::GraphRect& rect) {
    return row >= rect.top && row < rect.bottom;
}

void SetGridMapping(const ChartCanvas& canvas) {
    const lapgraph::GraphRect& graph = canvas.layout.graph;
    CDC* dc = canvas.dc;
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(graph.Width(), canvas.layout.signedExtent);
    dc->SetViewportExt(graph.Width(), graph.Height());
    dc->SetWindowOrg(0, canvas.view.mirrored ? canvas.view.scrollPos : -canvas.view.scrollPos);
    dc->SetViewportOrg(0, canvas.layout.yAxis);
}

void SetCurveMapping(const ChartCanvas& canvas) {
    const Layout& layout = canvas.layout;
    CDC* dc = canvas.dc;
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(layout.plotWidth, layout.signedExtent);
    dc->SetViewportExt(layout.plotWidth, layout.plotHeight);
    dc->SetWindowOrg(0, canvas.view.mirrored ? canvas.view.scrollPos : -canvas.view.scrollPos);
    dc->SetViewportOrg(layout.x0, layout.yAxis);
}

void SetTextMapping(CDC* dc) {
    dc->SetMapMode(MM_TEXT);
    dc->SetViewportOrg(0, 0);
    dc->SetWindowOrg(0, 0);
}

void DrawTimeGrid(const ChartCanvas& canvas) {
    const Layout& layout = canvas.layout;
    const lapgraph::GraphRect& graph = layout.graph;
    CDC* dc = canvas.dc;
    const int step = lapgraph::GridStep(graph.Height(), layout.lineHeight, layout.extent);
    if (step == 0)
        return;
    for (int gap = lapgraph::FirstGridValue(step); gap < lapgraph::kHighestGap; gap += step) {
        SetGridMapping(canvas);
        CPoint device(graph.left, gap);
        dc->LPtoDP(&device);
        if (RowInside(device.y, graph)) {
            dc->MoveTo(layout.x0, gap);
            dc->LineTo(graph.right, gap);
        }
        const int labelTop = device.y - layout.lineHeight / 2;
        if (RowInside(labelTop, graph)) {
            SetTextMapping(dc);
            dc->TextOut(device.x, labelTop, lapgraph::TimeLabel(gap));
        }
    }
}

// The pen runs from lap to lap through the event marks; the strokes of a type A mark break the
// run, and the curve goes on from the end of the last stroke.
void AddDriverCurve(PolylineField& curve, const DriverRecord& driver,
                    const lapgraph::ReferenceSeries& reference, const std::vector<int>& slotX) {
    bool firstPoint = true;
    const int slotEnd = std::min(driver.laps.GetSize(), static_cast<int>(reference.size()));
    for (int slot = 0; slot < slotEnd; ++slot) {
        const LapRecord* lap = driver.laps.GetAt(slot);
        const std::optional<std::uint32_t> referenceTime = reference[static_cast<std::size_t>(slot)];
        if (lap == nullptr || !referenceTime)
            continue; // the next line bridges the missing lap
        const int x = slotX[static_cast<std::size_t>(slot)];
        const int y = lapgraph::GapValue(lap->raceTime, *referenceTime);
        if (firstPoint)
            curve.MoveTo(x, y);
        else
            curve.LineTo(x, y);
        firstPoint = false;
        if ((lap->flags & (kLapEventA | kLapEventB)) == 0)
            continue;
        const int eventY = lapgraph::GapValue(lap->eventTime, *referenceTime);
        if ((lap->flags & kLapEventA) != 0) {
            for (const int strokeX : {x - 1, x + 1, x}) {
                curve.MoveTo(strokeX, y);
                curve.LineTo(strokeX, eventY);
            }
        }
        if ((lap->flags & kLapEventB) != 0) {
            curve.LineTo(x, eventY);
            curve.LineTo(x - lapgraph::kEventTickLength, eventY);
        }
    }
}

void DrawLappingLines(const ChartCanvas& canvas, const lapgraph::RaceTimes& times,
                      const lapgraph::ReferenceSeries& reference) {
    CPen pen(PS_DOT, 1, canvas.colours.lappingLine);
    CPen* previousPen = canvas.dc->SelectObject(&pen);
    for (const lapgraph::LappingLine& line : lapgraph::LappingLines(times, reference)) {
        for (const lapgraph::PenStep& step : line.steps) {
            const int x = lapgraph::SlotOffset(step.slot, canvas.layout.plotWidth, times.slotCount);
            if (step.draw)
                canvas.dc->LineTo(x, step.gap);
            else
                canvas.dc->MoveTo(x, step.gap);
        }
    }
    canvas.dc->SelectObject(previousPen);
}

// Drawn in gap units from the plot's left edge.
void DrawCurves(const ChartCanvas& canvas) {
    const RaceData& race = *canvas.race;
    if (race.lapCount <= 0)
        return;
    CDC* dc = canvas.dc;
    const lapgraph::RaceTimes times = lapgraph::TimesOf(race);
    const lapgraph::ReferenceSeries reference =
        lapgraph::ReferenceSeriesFor(race, canvas.referenceDriver, canvas.view.relative);
    // Every driver's lap i is drawn at the same x; slotX has one for each slot of the reference.
    std::vector<int> slotX(reference.size());
    for (std::size_t slot = 0; slot < slotX.size(); ++slot)
        slotX[slot] = lapgraph::SlotOffset(static_cast<int>(slot), canvas.layout.plotWidth, times.slotCount);
    std::vector<CPen> pens;
    pens.reserve(canvas.order.size());
    for (const int d : canvas.order)
        pens.push_back(canvas.pens[static_cast<std::size_t>(d)].Pen());
    // The whole field in one call, so that it can be spread over the processor's cores.
    dc->DrawPolylineField(static_cast<int>(canvas.order.size()), [&](int item, PolylineField& field) {
        const int d = canvas.order[static_cast<std::size_t>(item)];
        field.SelectPen(&pens[static_cast<std::size_t>(item)],
                        canvas.pens[static_cast<std::size_t>(d)].BackgroundMode());
        AddDriverCurve(field, *race.drivers->GetAt(d), reference, slotX);
    });
    DrawLappingLines(canvas, times, reference);
}

// "Gap to ..." with a square of the reference driver's colour, in the corner away from the axis
// line; the text keeps the chart's text colour, which reads on either background.
void DrawReferenceNote(const ChartCanvas& canvas) {
    const DriverRecord* driver = canvas.race->drivers->GetAt(canvas.referenceDriver);
    if (driver == nullptr)
        return;
    CDC* dc = canvas.dc;
    const lapgraph::GraphRect& graph = canvas.layout.graph;
    SetTextMapping(dc);
    const std::string caption = GapToDriverCaption(*driver);
    const CSize extent = dc->GetTextExtent(caption);
    const int top = canvas.view.mirrored ? graph.bottom - canvas.layout.lineHeight : graph.top;
    const int left = graph.right - extent.cx - canvas.lapLabelWidth;
    dc->SetTextColor(canvas.colours.text);
    dc->TextOut(left, top, caption);
    // After the text: the fill leaves its colour behind as the background of opaque text.
    const int side = std::max(1, extent.cy - 4);
    dc->FillSolidRect(left - side - 4, top + (extent.cy - side) / 2, side, side, driver->colour);
}

void PaintGapCurves(const ChartCanvas& canvas) {
    SetCurveMapping(canvas);
    DrawCurves(canvas);
    if (canvas.referenceDriver != -1)
        DrawReferenceNote(canvas);
}

// The pen's path runs through the event marks, so they are points of the curve too.
std::vector<CurveTrace> TraceGapCurves(const ChartCanvas& canvas) {
    const RaceData& race = *canvas.race;
    const Layout& layout = canvas.layout;
    const int slotCount = std::max(0, race.lapCount);
    const lapgraph::ReferenceSeries reference =
        lapgraph::ReferenceSeriesFor(race, canvas.referenceDriver, canvas.view.relative);
    std::vector<CurveTrace> curves;
    for (const int d : canvas.order) {
        const LapArray& laps = race.drivers->GetAt(d)->laps;
        CurveTrace curve{d, {}};
        const int slotEnd = std::min(laps.GetSize(), static_cast<int>(reference.size()));
        for (int slot = 0; slot < slotEnd; ++slot) {
            const LapRecord* lap = laps.GetAt(slot);
            const std::optional<std::uint32_t> referenceTime = reference[static_cast<std::size_t>(slot)];
            if (lap == nullptr || !referenceTime)
                continue;
            const int x = layout.x0 + lapgraph::SlotOffset(slot, layout.plotWidth, slotCount);
            const int row =
                lapgraph::GapToRow(lapgraph::GapValue(lap->raceTime, *referenceTime), layout, canvas.view);
            curve.points.push_back({x, row, slot, !curve.points.empty()});
            if ((lap->flags & (kLapEventA | kLapEventB)) == 0)
                continue;
            const int eventRow =
                lapgraph::GapToRow(lapgraph::GapValue(lap->eventTime, *referenceTime), layout, canvas.view);
            curve.points.push_back({x, eventRow, slot, true});
            if ((lap->flags & kLapEventB) != 0)
                curve.points.push_back({x - lapgraph::kEventTickLength, eventRow, slot, true});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

void ZoomGaps(ZoomLevels& levels, bool zoomIn) {
    levels.gap = zoomIn ? lapgraph::ZoomedIn(levels.gap) : lapgraph::ZoomedOut(levels.gap);
}

void FitGaps(const ChartCanvas& canvas, ZoomLevels& levels, int& scrollPos) {
    const lapgraph::ReferenceSeries reference =
        lapgraph::ReferenceSeriesFor(*canvas.race, canvas.referenceDriver, canvas.view.relative);
    const std::optional<lapgraph::GapSpan> span = lapgraph::CurveGapSpan(*canvas.race, reference);
    if (!span)
        return;
    const lapgraph::ViewFit fit = lapgraph::FitSpanToBand(
        *span, canvas.layout.plotHeight, lapgraph::ChartBand(canvas.layout, canvas.view.mirrored).Height(),
        canvas.view.mirrored);
    levels.gap = fit.zoom;
    scrollPos = fit.scrollPos;
}

} // namespace

const ChartKindInfo kGapChart{.kind = lapgraph::ChartKind::Gap,
                              .command = ID_VIEW_CHART_GAP,
                              .cliName = kGapChartName,
                              .caption = "Gap chart",
                              .paintUnderLapLines = DrawTimeGrid,
                              .paintOverLegend = PaintGapCurves,
                              .trace = TraceGapCurves,
                              .scrolls = true,
                              .zoom = ZoomGaps,
                              .fit = FitGaps};
