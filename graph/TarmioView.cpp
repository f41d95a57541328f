#include "graph/TarmioView.h"

#include "common/CommandIds.h"
#include "common/Options.h"
#include "common/SettingsKeys.h"
#include "document/CTarmioDoc.h"
#include "framework/CFrameWnd.h"
#include "framework/CMenu.h"
#include "framework/CWinApp.h"
#include "framework/WindowDC.h"
#include "graph/InfoPanel.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

using lapgraph::ScrollRequest;

namespace {
struct ScrollBarAction {
    int action;
    ScrollRequest request;
};
constexpr ScrollBarAction kScrollBarActions[] = {
    {QAbstractSlider::SliderSingleStepSub, ScrollRequest::LineUp},
    {QAbstractSlider::SliderSingleStepAdd, ScrollRequest::LineDown},
    {QAbstractSlider::SliderPageStepSub, ScrollRequest::PageUp},
    {QAbstractSlider::SliderPageStepAdd, ScrollRequest::PageDown},
    {QAbstractSlider::SliderMove, ScrollRequest::Track},
    {QAbstractSlider::SliderToMinimum, ScrollRequest::Top},
    {QAbstractSlider::SliderToMaximum, ScrollRequest::Bottom},
};
constexpr int kWheelLinesPerNotch = 3;
// How far inside the pane a menu asked for from the keyboard opens.
constexpr int kKeyboardMenuInset = 4;
constexpr int kWheelDeltaPerNotch = 120;

struct ScrollKey {
    int key;
    ScrollRequest request;
};
constexpr ScrollKey kScrollKeys[] = {
    {Qt::Key_PageUp, ScrollRequest::PageUp}, {Qt::Key_PageDown, ScrollRequest::PageDown},
    {Qt::Key_End, ScrollRequest::Bottom},    {Qt::Key_Home, ScrollRequest::Top},
    {Qt::Key_Up, ScrollRequest::TenthUp},    {Qt::Key_Down, ScrollRequest::TenthDown},
};

CWinApp* SettingsApp() {
    return AfxGetApp();
}
} // namespace

CTarmioView::CTarmioView() {
    OnCommand(ID_VIEW_ZOOMIN_Y, [this] { OnViewZoomInY(); });
    OnCommand(ID_VIEW_ZOOMOUT_Y, [this] { OnViewZoomOutY(); });
    OnCommand(ID_VIEW_ZOOMTOFIT, [this] { OnViewZoomToFit(); });
    OnUpdateCommandUI(ID_VIEW_ZOOMTOFIT, [this](CCmdUI* pCmdUI) { OnUpdateViewZoomToFit(pCmdUI); });
    OnCommand(ID_VIEW_RELATIVE, [this] { OnViewRelative(); });
    OnCommand(ID_VIEW_MIRRORED, [this] { OnViewMirrored(); });
    OnUpdateCommandUI(ID_VIEW_RELATIVE, [this](CCmdUI* pCmdUI) { OnUpdateViewOption(pCmdUI); });
    OnUpdateCommandUI(ID_VIEW_MIRRORED, [this](CCmdUI* pCmdUI) { OnUpdateViewOption(pCmdUI); });
    OnCommand(ID_VIEW_HIGHLIGHT, [this] { OnViewHighlight(); });
    OnUpdateCommandUI(ID_VIEW_HIGHLIGHT, [this](CCmdUI* pCmdUI) { OnUpdateViewHighlight(pCmdUI); });
    OnCommand(ID_VIEW_GAPTODRIVER, [this] { OnViewGapToDriver(); });
    OnUpdateCommandUI(ID_VIEW_GAPTODRIVER, [this](CCmdUI* pCmdUI) { OnUpdateViewGapToDriver(pCmdUI); });
    OnCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

CTarmioView::~CTarmioView() {
    m_pAxisFont.reset();
    if (CWinApp* app = SettingsApp()) {
        app->WriteProfileInt(settings::kSection, settings::kGraphRelative, m_bRelative);
        app->WriteProfileInt(settings::kSection, settings::kGraphMirrored, m_bMirrored);
        app->WriteProfileInt(settings::kSection, settings::kGraphHighlight, m_bHighlight);
    }
    WriteChartSetting();
}

RaceData* CTarmioView::GetRaceData() const {
    const auto* document = dynamic_cast<const CTarmioDoc*>(GetDocument());
    return document != nullptr ? document->GetRaceData() : nullptr;
}

lapgraph::ViewState CTarmioView::GetViewState() const {
    return lapgraph::ViewState{m_nZoom, m_nScrollPos, m_bRelative != FALSE, m_bMirrored != FALSE};
}

void CTarmioView::SetViewState(const lapgraph::ViewState& state) {
    m_nZoom = state.zoom;
    m_nScrollPos = state.scrollPos;
    m_bRelative = state.relative ? TRUE : FALSE;
    m_bMirrored = state.mirrored ? TRUE : FALSE;
    UpdateScrollInfo();
    Redraw();
}

BOOL CTarmioView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_VSCROLL;
    return CView::PreCreateWindow(cs);
}

int CTarmioView::OnCreate() {
    if (CView::OnCreate() == -1)
        return -1;
    m_pReadoutPanel = new CInfoPanel(this);
    connect(GetVerticalScrollBar(), &QAbstractSlider::actionTriggered, this, &CTarmioView::OnScrollBarAction);
    setMouseTracking(true);
    return 0;
}

void CTarmioView::OnInitialUpdate() {
    m_pReferenceDriver = nullptr;
    CView::OnInitialUpdate();
    if (CWinApp* app = SettingsApp()) {
        m_bRelative = app->GetProfileInt(settings::kSection, settings::kGraphRelative, m_bRelative);
        m_bMirrored = app->GetProfileInt(settings::kSection, settings::kGraphMirrored, m_bMirrored);
        m_bHighlight = app->GetProfileInt(settings::kSection, settings::kGraphHighlight, m_bHighlight);
    }
    ReadChartSetting();
    CClientDC dc(this);
    CreateAxisFont(&dc, FALSE);
    UpdateScrollInfo();
}

void CTarmioView::OnUpdate(CView*, LPARAM lHint) {
    if (lHint == CTarmioDoc::kHintHover)
        return;
    if (lHint == CTarmioDoc::kHintRaceReplaced && m_pReferenceDriver != nullptr) {
        // The old race still lives, so the reference can be looked at once more to find it again.
        const RaceData* race = GetRaceData();
        const RaceData* oldRace = GetTarmioDoc() != nullptr ? GetTarmioDoc()->GetReplacedRace() : nullptr;
        bool inOldRace = false;
        for (int index = 0; oldRace != nullptr && index < oldRace->drivers->GetCount(); ++index)
            inOldRace = inOldRace || oldRace->drivers->GetAt(index) == m_pReferenceDriver;
        const int found =
            race != nullptr && inOldRace ? CTarmioDoc::FindSameDriver(*race, *m_pReferenceDriver) : -1;
        m_pReferenceDriver = found >= 0 ? race->drivers->GetAt(found) : nullptr;
        if (m_pReferenceDriver == nullptr)
            ShowReferenceNote();
    }
    HideReadout();
    m_readoutModel.reset();
    if (lHint == CTarmioDoc::kHintSelection || lHint == CTarmioDoc::kHintColours) {
        Redraw();
        return;
    }
    if (m_pReferenceDriver != nullptr && GetReferenceDriver() == -1) {
        m_pReferenceDriver = nullptr;
        ShowReferenceNote();
    }
    ApplyAutoZoom();
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::ApplyAutoZoom() {
    const RaceData* race = GetRaceData();
    if ((AfxGetTarmioOptions() & kOptionAutoZoom) == 0 || race == nullptr)
        return;
    if (m_pReferenceDriver != nullptr) {
        if (const auto fit = lapgraph::FitToReference(*race, CurrentReference(*race), m_bMirrored != FALSE)) {
            m_nZoom = fit->zoom;
            m_nScrollPos = fit->scrollPos;
        }
    } else if (const std::optional<int> zoom = lapgraph::AutoZoom(race->maxGap, m_bRelative != FALSE)) {
        m_nScrollPos = 0;
        m_nZoom = *zoom;
    }
}

void CTarmioView::OnSize() {
    GetClientRect(&m_rcGraph);
    UpdateScrollInfo();
}

void CTarmioView::OnViewZoomInY() {
    ZoomY(true);
}

void CTarmioView::OnViewZoomOutY() {
    ZoomY(false);
}

void CTarmioView::OnViewZoomToFit() {
    const RaceData* race = GetRaceData();
    CRect client;
    GetClientRect(&client);
    if (m_pChart->fit == nullptr || race == nullptr || race->lapCount < 2 || client.IsRectEmpty())
        return;
    // The window's own layout: the drawing rectangle may still hold a printed page's.
    const lapgraph::Layout layout = lapgraph::ComputeLayout(
        {client.left, client.top, client.right, client.bottom}, GetAxisMetrics(), GetViewState());
    ZoomLevels levels{m_nZoom, m_nLapTimeZoom};
    m_pChart->fit(CanvasFor(nullptr, race, layout), levels, m_nScrollPos);
    m_nZoom = levels.gap;
    m_nLapTimeZoom = levels.lapTime;
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::OnUpdateViewZoomToFit(CCmdUI* pCmdUI) {
    const RaceData* race = GetRaceData();
    pCmdUI->Enable(m_pChart->fit != nullptr && race != nullptr && race->lapCount >= 2 ? TRUE : FALSE);
}

void CTarmioView::ZoomY(bool zoomIn) {
    if (m_pChart->zoom != nullptr) {
        ZoomLevels levels{m_nZoom, m_nLapTimeZoom};
        m_pChart->zoom(levels, zoomIn);
        m_nZoom = levels.gap;
        m_nLapTimeZoom = levels.lapTime;
    }
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::OnViewRelative() {
    m_bRelative = m_bRelative == FALSE ? TRUE : FALSE;
    if (m_pReferenceDriver != nullptr) {
        SetReferenceDriver(-1);
        return;
    }
    Redraw();
}

void CTarmioView::OnViewMirrored() {
    m_bMirrored = m_bMirrored == FALSE ? TRUE : FALSE;
    // The fit to a driver depends on the orientation; the designed references keep their scroll.
    if (m_pReferenceDriver != nullptr) {
        ApplyAutoZoom();
        UpdateScrollInfo();
    }
    Redraw();
}

void CTarmioView::OnUpdateViewOption(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}

void CTarmioView::OnViewHighlight() {
    SetHighlighting(m_bHighlight ? FALSE : TRUE);
}

void CTarmioView::OnUpdateViewHighlight(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_bHighlight ? 1 : 0);
}

void CTarmioView::SetHighlighting(BOOL bHighlight) {
    m_bHighlight = bHighlight;
    Redraw();
}

// A toggle: on, the first selected driver becomes the reference; off, the designed one returns.
void CTarmioView::OnViewGapToDriver() {
    if (m_pReferenceDriver != nullptr) {
        SetReferenceDriver(-1);
        return;
    }
    const CTarmioDoc* document = GetTarmioDoc();
    if (document != nullptr && !document->GetSelectedDrivers().empty())
        SetReferenceDriver(document->GetSelectedDrivers().front());
}

void CTarmioView::OnUpdateViewGapToDriver(CCmdUI* pCmdUI) {
    const CTarmioDoc* document = GetTarmioDoc();
    const bool chosen = GetReferenceDriver() != -1;
    pCmdUI->Enable(chosen || (document != nullptr && !document->GetSelectedDrivers().empty()) ? TRUE : FALSE);
    pCmdUI->SetCheck(chosen ? 1 : 0);
}

int CTarmioView::GetReferenceDriver() const {
    const RaceData* race = GetRaceData();
    if (m_pReferenceDriver == nullptr || race == nullptr)
        return -1;
    for (int d = 0; d < race->drivers->GetCount(); ++d)
        if (race->drivers->GetAt(d) == m_pReferenceDriver)
            return d;
    return -1;
}

void CTarmioView::SetReferenceDriver(int driverIndex) {
    const RaceData* race = GetRaceData();
    m_pReferenceDriver = race != nullptr ? race->drivers->GetAt(driverIndex) : nullptr;
    ApplyAutoZoom();
    ShowReferenceNote();
    UpdateScrollInfo();
    Redraw();
}

CTarmioDoc* CTarmioView::GetTarmioDoc() const {
    return dynamic_cast<CTarmioDoc*>(GetDocument());
}

// The status bar says whose gap the chart shows for as long as it does.
void CTarmioView::ShowReferenceNote() {
    CFrameWnd* frame = GetParentFrame();
    if (frame == nullptr)
        return;
    const RaceData* race = GetRaceData();
    const int reference = GetReferenceDriver();
    if (race == nullptr || reference == -1) {
        frame->SetIdleMessage(QString());
        return;
    }
    frame->SetIdleMessage(QString::fromStdString(GapToDriverCaption(*race->drivers->GetAt(reference))));
}

void CTarmioView::OnContextMenu(CPoint point) {
    CMenu menu;
    if (menu.CreatePopupMenu()) {
        // Each option's item names it as it stands now.
        for (const auto& [command, on] :
             {std::pair{ID_VIEW_RELATIVE, m_bRelative}, std::pair{ID_VIEW_MIRRORED, m_bMirrored}})
            menu.AppendMenu(MF_STRING, command, AfxContextMenuText(command, on != FALSE));
        // Without a main window the command still has to find this view.
        QWidget* owner = AfxGetMainWnd() != nullptr ? static_cast<QWidget*>(AfxGetMainWnd()) : this;
        // A menu asked for from the keyboard comes with (-1, -1): it opens at the pane, not in the
        // screen's corner.
        if (point == CPoint(-1, -1)) {
            const QPoint corner = mapToGlobal(QPoint(kKeyboardMenuInset, kKeyboardMenuInset));
            point = CPoint(corner.x(), corner.y());
        }
        menu.TrackPopupMenu(point.x, point.y, owner);
    }
}

void CTarmioView::OnScrollBarAction(int action) {
    int position = m_nScrollPos;
    for (const ScrollBarAction& entry : kScrollBarActions) {
        if (entry.action == action)
            position =
                lapgraph::ScrolledTo(entry.request, GetViewState(), GetVerticalScrollBar()->sliderPosition());
    }
    ScrollTo(position);
}

void CTarmioView::wheelEvent(QWheelEvent* event) {
    if (!GetVerticalScrollBar()->isEnabled()) {
        CView::wheelEvent(event);
        return;
    }
    // Touchpads and fine wheels send parts of a notch; they add up until a whole one is reached,
    // and the rest waits for the next event.
    m_nWheelDelta += event->angleDelta().y();
    const int notches = m_nWheelDelta / kWheelDeltaPerNotch;
    m_nWheelDelta -= notches * kWheelDeltaPerNotch;
    const ScrollRequest request = notches > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown;
    for (int i = 0; i < std::abs(notches) * kWheelLinesPerNotch; ++i)
        ScrollTo(lapgraph::ScrolledTo(request, GetViewState()));
    event->accept();
}

void CTarmioView::OnKeyDown(UINT nChar) {
    for (const ScrollKey& scrollKey : kScrollKeys) {
        if (static_cast<UINT>(scrollKey.key) != nChar)
            continue;
        ScrollRequest request = scrollKey.request;
        if (nChar == Qt::Key_Home && QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier))
            request = ScrollRequest::Origin;
        ScrollTo(lapgraph::ScrolledTo(request, GetViewState()));
        return;
    }
    Default();
}

void CTarmioView::ScrollTo(int position) {
    if (!m_pChart->scrolls)
        return;
    m_nScrollPos = position;
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::UpdateScrollInfo() {
    lapgraph::ScrollBarSettings bar = lapgraph::ScrollBarFor(GetViewState());
    if (!m_pChart->scrolls)
        bar.page = bar.max - bar.min + 1; // nothing to scroll: the bar shows disabled
    QScrollBar* scrollBar = GetVerticalScrollBar();
    // The action being handled must not come back, nor a move of the thumb start one.
    const QSignalBlocker quiet(scrollBar);
    // The range includes the page; the highest thumb position is max - page + 1.
    const int page = std::max(bar.page, 1);
    scrollBar->setRange(bar.min, std::max(bar.min, bar.max - page + 1));
    scrollBar->setPageStep(page);
    scrollBar->setEnabled(bar.page <= bar.max - bar.min);
    scrollBar->setValue(bar.pos);
    // Inside a scroll-bar action this overrides the step Qt is about to apply.
    scrollBar->setSliderPosition(bar.pos);
}

void CTarmioView::Redraw() {
    HideReadout();
    Invalidate();
}
