#include "app/MainFrame.h"

#include "app/Artwork.h"
#include "app/CommandTable.h"
#include "app/RaceSummaryDlg.h"
#include "app/WindowPlaces.h"
#include "common/CommandIds.h"
#include "document/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CSplitterWnd.h"
#include "framework/CWinApp.h"
#include "graph/ChartKinds.h"
#include "graph/TarmioView.h"

#include <QScreen>
#include <QWindow>

namespace {
constexpr int kDriverListIdealWidth = 360;
constexpr int kPaneMinimumWidth = 8;
constexpr QSize kInitialFrameSize(1024, 700);

constexpr UINT kChartReadingCommands[] = {ID_VIEW_HIGHLIGHT, ID_VIEW_GAPTODRIVER, ID_VIEW_ZOOMTOFIT};
} // namespace

CMainFrame::CMainFrame() {
    setWindowIcon(ProgramIcon());
    resize(kInitialFrameSize);
    for (const ChartKindInfo* kind : ChartKinds()) {
        const UINT nID = kind->command;
        OnCommand(nID, [this, nID] { OnViewChart(nID); });
        OnUpdateCommandUI(nID, [this](CCmdUI* pCmdUI) { OnUpdateViewChart(pCmdUI); });
    }
    OnCommand(ID_VIEW_RACESUMMARY, [this] { OnViewRaceSummary(); });
    OnCommand(ID_FILE_EXPORT, [this] { OnFileExport(); });
    for (const UINT id : kChartReadingCommands) {
        OnCommand(id, [this, id] { ForwardToChart(id, nullptr); });
        OnUpdateCommandUI(id, [this, id](CCmdUI* pCmdUI) { ForwardToChart(id, pCmdUI); });
    }
}

CMainFrame::~CMainFrame() {
    StorePlace();
}

int CMainFrame::OnCreate() {
    SetCommandTable(CommandTable());
    if (!LoadMenu(MainMenu()) || !LoadToolBar(ToolBarButtons()))
        return -1;
    if (!SetIndicators(StatusIndicators()))
        return -1;
    return 0;
}

BOOL CMainFrame::OnCreateClient(CDocument* pDoc) {
    m_wndSplitter = new CSplitterWnd(this);
    if (!m_wndSplitter->CreateStatic(this, 1, 2))
        return FALSE;
    if (!m_wndSplitter->CreateView(0, 0, new CDriverView, pDoc))
        return FALSE;
    if (!m_wndSplitter->CreateView(0, 1, new CTarmioView, pDoc))
        return FALSE;
    m_wndSplitter->SetColumnInfo(0, kDriverListIdealWidth, kPaneMinimumWidth);
    m_wndSplitter->SetColumnInfo(1, 0, kPaneMinimumWidth);
    RestorePlace();
    return TRUE;
}

void CMainFrame::RestorePlace() {
    const CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return;
    if (const std::optional<QRect> stored = ReadPlace(*app, settings::kMainWindowPlace))
        if (const std::optional<QRect> place = ShownPlace(*stored, AvailableScreenAreas()))
            setGeometry(*place);
    if (app->GetProfileInt(settings::kSection, settings::kMainWindowMaximized, 0) != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
    // Never wider than the window, whatever the settings file says.
    if (const int listWidth = app->GetProfileInt(settings::kSection, settings::kListWidth, 0); listWidth > 0)
        m_wndSplitter->SetColumnInfo(0, std::min(listWidth, width()), kPaneMinimumWidth);
}

// Only a run that showed the window has a place to keep; by now File, Exit may have hidden it.
void CMainFrame::StorePlace() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || windowHandle() == nullptr)
        return;
    WritePlace(*app, settings::kMainWindowPlace, normalGeometry());
    app->WriteProfileInt(settings::kSection, settings::kMainWindowMaximized, isMaximized() ? 1 : 0);
    if (m_wndSplitter != nullptr && m_wndSplitter->sizes().front() > 0)
        app->WriteProfileInt(settings::kSection, settings::kListWidth, m_wndSplitter->sizes().front());
    if (m_pRaceSummary != nullptr && !m_pRaceSummary->isHidden())
        StoreRaceSummaryPlace();
}

void CMainFrame::StoreRaceSummaryPlace() {
    if (CWinApp* app = AfxGetApp(); app != nullptr && m_pRaceSummary != nullptr)
        WritePlace(*app, settings::kRaceSummaryPlace, m_pRaceSummary->geometry());
}

CTarmioView* CMainFrame::GetGraphView() const {
    return m_wndSplitter != nullptr ? dynamic_cast<CTarmioView*>(m_wndSplitter->GetPane(0, 1)) : nullptr;
}

CRaceSummaryDlg* CMainFrame::GetRaceSummary() const {
    return m_pRaceSummary.data();
}

void CMainFrame::OnViewChart(UINT nID) {
    CTarmioView* view = GetGraphView();
    if (const ChartKindInfo* kind = ChartKindForCommand(nID); kind != nullptr && view != nullptr)
        view->SetChartKind(kind->kind);
}

void CMainFrame::OnUpdateViewChart(CCmdUI* pCmdUI) {
    const CTarmioView* view = GetGraphView();
    pCmdUI->Enable(view != nullptr);
    pCmdUI->SetRadio(view != nullptr && ChartKindOf(view->GetChartKind()).command == pCmdUI->m_nID);
}

void CMainFrame::OnViewRaceSummary() {
    if (m_pRaceSummary == nullptr) {
        auto* document = dynamic_cast<CTarmioDoc*>(GetActiveDocument());
        if (document == nullptr)
            return;
        m_pRaceSummary = new CRaceSummaryDlg(*document, this);
        m_pRaceSummary->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_pRaceSummary, &QDialog::finished, this, &CMainFrame::StoreRaceSummaryPlace);
        // Where it was last, while a screen shows that; else beside the window, off the chart.
        const std::optional<QRect> stored =
            AfxGetApp() != nullptr ? ReadPlace(*AfxGetApp(), settings::kRaceSummaryPlace) : std::nullopt;
        if (const std::optional<QRect> place =
                stored ? ShownPlace(*stored, AvailableScreenAreas()) : std::nullopt) {
            m_pRaceSummary->setGeometry(*place);
        } else {
            const QScreen* screen = this->screen();
            const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), size());
            const QRect beside = PlaceBeside(frameGeometry(), m_pRaceSummary->size(), area);
            m_pRaceSummary->resize(beside.size());
            m_pRaceSummary->move(beside.topLeft());
        }
    }
    m_pRaceSummary->show();
    m_pRaceSummary->raise();
    m_pRaceSummary->activateWindow();
}

void CMainFrame::OnDropFiles(const QStringList& paths) {
    if (auto* doc = dynamic_cast<CTarmioDoc*>(GetActiveDocument()))
        doc->AddFiles(paths);
}

CView* CMainFrame::ChartPane() const {
    return m_wndSplitter != nullptr ? m_wndSplitter->GetPane(0, 1) : nullptr;
}

void CMainFrame::ForwardToChart(UINT nID, CCmdUI* pCmdUI) {
    CView* chart = ChartPane();
    if (chart == nullptr || !chart->OnCmdMsg(nID, pCmdUI)) {
        if (pCmdUI != nullptr)
            pCmdUI->Enable(FALSE);
    }
}
