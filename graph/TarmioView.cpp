#include "graph/TarmioView.h"

#include "app/TarmioApp.h"
#include "data/CTarmioDoc.h"
#include "framework/CFrameWnd.h"
#include "framework/CMenu.h"
#include "framework/VirtualKeys.h"
#include "framework/WindowDC.h"

#include <QScrollBar>

using lapgraph::ScrollRequest;

namespace {
const QString kSettingsSection = QStringLiteral("Settings");
const QString kRelativeEntry = QStringLiteral("GraphRelative");
const QString kMirroredEntry = QStringLiteral("GraphMirrored");

// The context menu names each option as it stands now.
struct OptionItem {
    UINT command;
    const char* textWhileOn;
    const char* textWhileOff;
};
constexpr OptionItem kRelativeItem{ID_VIEW_RELATIVE, "Relative\tCtrl+R", "Absolute\tCtrl+R"};
constexpr OptionItem kMirroredItem{ID_VIEW_MIRRORED, "Origin at bottom\tCtrl+M", "Origin at top\tCtrl+M"};

struct ScrollBarAction {
    UINT code;
    ScrollRequest request;
};
constexpr ScrollBarAction kScrollBarActions[] = {
    {SB_LINEUP, ScrollRequest::LineUp},    {SB_LINEDOWN, ScrollRequest::LineDown},
    {SB_PAGEUP, ScrollRequest::PageUp},    {SB_PAGEDOWN, ScrollRequest::PageDown},
    {SB_THUMBTRACK, ScrollRequest::Track}, {SB_TOP, ScrollRequest::Top},
    {SB_BOTTOM, ScrollRequest::Bottom},
};

struct ScrollKey {
    UINT key;
    ScrollRequest request;
};
constexpr ScrollKey kScrollKeys[] = {
    {VK_PRIOR, ScrollRequest::PageUp}, {VK_NEXT, ScrollRequest::PageDown},
    {VK_END, ScrollRequest::Bottom},   {VK_HOME, ScrollRequest::Top},
    {VK_UP, ScrollRequest::TenthUp},   {VK_DOWN, ScrollRequest::TenthDown},
};

CWinApp* SettingsApp() {
    return AfxGetApp();
}
} // namespace

CTarmioView::CTarmioView() {
    OnCommand(ID_VIEW_ZOOMIN_Y, [this] { OnViewZoomInY(); });
    OnCommand(ID_VIEW_ZOOMOUT_Y, [this] { OnViewZoomOutY(); });
    OnCommand(ID_VIEW_RELATIVE, [this] { OnViewRelative(); });
    OnCommand(ID_VIEW_MIRRORED, [this] { OnViewMirrored(); });
    OnUpdateCommandUI(ID_VIEW_RELATIVE, [this](CCmdUI* pCmdUI) { OnUpdateViewOption(pCmdUI); });
    OnUpdateCommandUI(ID_VIEW_MIRRORED, [this](CCmdUI* pCmdUI) { OnUpdateViewOption(pCmdUI); });
    OnCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

CTarmioView::~CTarmioView() {
    m_pAxisFont.reset();
    if (CWinApp* app = SettingsApp()) {
        app->WriteProfileInt(kSettingsSection, kRelativeEntry, m_bRelative);
        app->WriteProfileInt(kSettingsSection, kMirroredEntry, m_bMirrored);
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
    return CView::OnCreate() == -1 ? -1 : 0;
}

void CTarmioView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    if (CWinApp* app = SettingsApp()) {
        m_bRelative = app->GetProfileInt(kSettingsSection, kRelativeEntry, m_bRelative);
        m_bMirrored = app->GetProfileInt(kSettingsSection, kMirroredEntry, m_bMirrored);
    }
    ReadChartSetting();
    CClientDC dc(this);
    CreateAxisFont(&dc, FALSE);
    UpdateScrollInfo();
}

void CTarmioView::OnUpdate(CView*, LPARAM, void*) {
    const RaceData* race = GetRaceData();
    if ((AfxGetTarmioOptions() & kOptionAutoZoom) != 0 && race != nullptr) {
        if (const std::optional<int> zoom = lapgraph::AutoZoom(race->maxGap, m_bRelative != FALSE)) {
            m_nScrollPos = 0;
            m_nZoom = *zoom;
        }
    }
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::OnSize(UINT, int, int) {
    GetClientRect(&m_rcGraph);
    UpdateScrollInfo();
}

void CTarmioView::OnViewZoomInY() {
    if (m_nChart == lapgraph::ChartKind::LapTimes)
        m_nLapTimeZoom = lapgraph::LapTimeZoomedIn(m_nLapTimeZoom);
    else if (m_nChart == lapgraph::ChartKind::Gap) // positions always fit the window
        m_nZoom = lapgraph::ZoomedIn(m_nZoom);
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::OnViewZoomOutY() {
    if (m_nChart == lapgraph::ChartKind::LapTimes)
        m_nLapTimeZoom = lapgraph::LapTimeZoomedOut(m_nLapTimeZoom);
    else if (m_nChart == lapgraph::ChartKind::Gap)
        m_nZoom = lapgraph::ZoomedOut(m_nZoom);
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::OnViewRelative() {
    m_bRelative = m_bRelative == FALSE ? TRUE : FALSE;
    Redraw();
}

void CTarmioView::OnViewMirrored() {
    m_bMirrored = m_bMirrored == FALSE ? TRUE : FALSE;
    Redraw();
}

void CTarmioView::OnUpdateViewOption(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}

void CTarmioView::OnContextMenu(QWidget*, CPoint point) {
    CMenu menu;
    if (menu.CreatePopupMenu()) {
        for (const auto& [item, on] :
             {std::pair{kRelativeItem, m_bRelative}, std::pair{kMirroredItem, m_bMirrored}})
            menu.AppendMenu(MF_STRING, item.command,
                            QString::fromLatin1(on ? item.textWhileOn : item.textWhileOff));
        // Without a main window the command still has to find this view.
        QWidget* owner = AfxGetMainWnd() != nullptr ? static_cast<QWidget*>(AfxGetMainWnd()) : this;
        menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, owner);
    }
    menu.DestroyMenu();
}

void CTarmioView::OnVScroll(UINT nSBCode, int nPos, QScrollBar* pScrollBar) {
    if (pScrollBar != nullptr) {
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    if (nSBCode == SB_THUMBPOSITION || nSBCode == SB_ENDSCROLL)
        return; // the tracking already brought the chart there
    int position = m_nScrollPos;
    for (const ScrollBarAction& action : kScrollBarActions) {
        if (action.code == nSBCode)
            position = lapgraph::ScrolledTo(action.request, GetViewState(), nPos);
    }
    ScrollTo(position);
}

void CTarmioView::OnKeyDown(UINT nChar, UINT, UINT) {
    for (const ScrollKey& scrollKey : kScrollKeys) {
        if (scrollKey.key != nChar)
            continue;
        ScrollRequest request = scrollKey.request;
        if (nChar == VK_HOME && GetKeyState(VK_CONTROL) < 0)
            request = ScrollRequest::Origin;
        ScrollTo(lapgraph::ScrolledTo(request, GetViewState()));
        return;
    }
    Default();
}

void CTarmioView::ScrollTo(int position) {
    if (m_nChart != lapgraph::ChartKind::Gap)
        return; // the other charts fit the window
    m_nScrollPos = position;
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::UpdateScrollInfo() {
    lapgraph::ScrollBarSettings bar = lapgraph::ScrollBarFor(GetViewState());
    if (m_nChart != lapgraph::ChartKind::Gap)
        bar.page = bar.max - bar.min + 1; // nothing to scroll: the bar shows disabled
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = bar.min;
    info.nMax = bar.max;
    info.nPage = static_cast<UINT>(bar.page);
    info.nPos = bar.pos;
    SetScrollInfo(SB_VERT, &info, TRUE);
}

void CTarmioView::Redraw() {
    InvalidateRect(nullptr, TRUE);
}
