// The read-out under the pointer: which curve point is near it, what the panel and the status
// bar say about that lap, and which row of the driver list it marks.
#include "document/CTarmioDoc.h"
#include "framework/CFrameWnd.h"
#include "graph/InfoPanel.h"
#include "graph/TarmioView.h"

#include <QMouseEvent>

namespace {
// How near the pointer must come: to a point, or else to a line between two.
constexpr int kPointTolerance = 6;
constexpr int kLineTolerance = 3;
} // namespace

// Every curve as the painting draws it, in device pixels and in drawing order; the pen's path
// runs through the event marks, so they are points of the curve too.
std::vector<CurveTrace> CTarmioView::TraceCurves(const RaceData& race) const {
    std::vector<CurveTrace> curves;
    const int slotCount = std::max(0, race.lapCount);
    // The window as it is now: the drawing rectangle may still hold a printed page's.
    CRect client;
    GetClientRect(&client);
    if (slotCount < 2 || client.IsRectEmpty())
        return curves;
    const lapgraph::ViewState view = GetViewState();
    const lapgraph::Layout layout = lapgraph::ComputeLayout(
        {client.left, client.top, client.right, client.bottom}, GetAxisMetrics(), view);
    if (m_nChart != lapgraph::ChartKind::Gap)
        return TraceAnalysisChart(race, layout);
    const lapgraph::ReferenceSeries reference = CurrentReference(race);
    for (const int d : DrawingOrder(race)) {
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
                lapgraph::GapToRow(lapgraph::GapValue(lap->raceTime, *referenceTime), layout, view);
            curve.points.push_back({x, row, slot, !curve.points.empty()});
            if ((lap->flags & (kLapEventA | kLapEventB)) == 0)
                continue;
            const int eventRow =
                lapgraph::GapToRow(lapgraph::GapValue(lap->eventTime, *referenceTime), layout, view);
            curve.points.push_back({x, eventRow, slot, true});
            if ((lap->flags & kLapEventB) != 0)
                curve.points.push_back({x - lapgraph::kEventTickLength, eventRow, slot, true});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::optional<CurveHit> CTarmioView::HitTest(CPoint point) const {
    const RaceData* race = GetRaceData();
    if (race == nullptr)
        return std::nullopt;
    const std::vector<CurveTrace> curves = TraceCurves(*race);
    return NearestCurvePoint(curves, point.x, point.y, kPointTolerance, kLineTolerance);
}

std::optional<CPoint> CTarmioView::LapPoint(int driverIndex, int slot) const {
    const RaceData* race = GetRaceData();
    if (race == nullptr)
        return std::nullopt;
    for (const CurveTrace& curve : TraceCurves(*race)) {
        if (curve.driver != driverIndex)
            continue;
        for (const TracePoint& point : curve.points)
            if (point.slot == slot)
                return CPoint(point.x, point.y);
    }
    return std::nullopt;
}

std::optional<LapReadout> CTarmioView::ReadoutAt(const CurveHit& hit) {
    const RaceData* race = GetRaceData();
    if (race == nullptr)
        return std::nullopt;
    // Built once per race and order: the positions take a sort per lap.
    if (!m_readoutModel || !m_readoutModel->Matches(*race))
        m_readoutModel.emplace(*race);
    return m_readoutModel->At(*race, hit.driver, hit.slot, GetReferenceDriver());
}

void CTarmioView::mouseMoveEvent(QMouseEvent* event) {
    const CPoint point(event->position().toPoint().x(), event->position().toPoint().y());
    const std::optional<CurveHit> hit = HitTest(point);
    const std::optional<LapReadout> readout = hit ? ReadoutAt(*hit) : std::nullopt;
    if (readout)
        ShowReadout(*readout, point);
    else
        HideReadout();
}

void CTarmioView::leaveEvent(QEvent* event) {
    HideReadout();
    CView::leaveEvent(event);
}

void CTarmioView::ShowReadout(const LapReadout& readout, CPoint point) {
    std::vector<CInfoPanel::Line> lines;
    for (const std::string& text : ReadoutLines(readout))
        lines.push_back({QString::fromLatin1(text), kDefaultColour, false});
    lines.front().colour = readout.colour;
    lines.front().swatch = true;
    if (m_pReadoutPanel != nullptr) {
        m_pReadoutPanel->SetLines(std::move(lines));
        m_pReadoutPanel->ShowNear(point);
    }
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetMessageText(QString::fromLatin1(ReadoutStatusText(readout)));
    m_bReadoutShown = true;
    if (CTarmioDoc* document = GetTarmioDoc())
        document->SetHoveredDriver(this, readout.driver);
}

void CTarmioView::HideReadout() {
    if (!m_bReadoutShown)
        return;
    m_bReadoutShown = false;
    if (m_pReadoutPanel != nullptr)
        m_pReadoutPanel->hide();
    if (CFrameWnd* frame = GetParentFrame())
        frame->ShowIdleMessage();
    if (CTarmioDoc* document = GetTarmioDoc())
        document->SetHoveredDriver(this, -1);
}
