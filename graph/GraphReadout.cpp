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

// Every curve as the painting draws it, in device pixels and in drawing order.
std::vector<CurveTrace> CTarmioView::TraceCurves(const RaceData& race) const {
    const int slotCount = std::max(0, race.lapCount);
    // The window as it is now: the drawing rectangle may still hold a printed page's.
    CRect client;
    GetClientRect(&client);
    if (slotCount < 2 || client.IsRectEmpty())
        return {};
    const lapgraph::Layout layout = lapgraph::ComputeLayout(
        {client.left, client.top, client.right, client.bottom}, GetAxisMetrics(), GetViewState());
    return m_pChart->trace(CanvasFor(nullptr, &race, layout));
}

std::vector<CurveTrace> CTarmioView::TraceScreenCurves() const {
    const RaceData* race = GetRaceData();
    return race != nullptr ? TraceCurves(*race) : std::vector<CurveTrace>{};
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
    return ReadoutModel(*race).At(*race, hit.driver, hit.slot, GetReferenceDriver());
}

const LapReadoutModel& CTarmioView::ReadoutModel(const RaceData& race) const {
    if (!m_readoutModel || !m_readoutModel->Matches(race))
        m_readoutModel.emplace(race);
    return *m_readoutModel;
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

void CTarmioView::mousePressEvent(QMouseEvent* event) {
    CView::mousePressEvent(event);
    CTarmioDoc* document = GetTarmioDoc();
    if (event->button() != Qt::LeftButton || document == nullptr)
        return;
    const CPoint point(event->position().toPoint().x(), event->position().toPoint().y());
    // Without a sender the chart hears of the change too and redraws its highlight.
    if (const std::optional<CurveHit> hit = HitTest(point))
        document->ClickDriver(nullptr, hit->driver, event->modifiers().testFlag(Qt::ControlModifier));
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
