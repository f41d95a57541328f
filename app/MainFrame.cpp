#include "app/MainFrame.h"

#include "app/Artwork.h"
#include "app/CommandTable.h"
#include "app/RaceSummaryDlg.h"
#include "common/CommandIds.h"
#include "document/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CSplitterWnd.h"
#include "graph/ChartKinds.h"
#include "graph/TarmioView.h"

namespace {
constexpr int kDriverListIdealWidth = 360;
constexpr int kPaneMinimumWidth = 8;
constexpr QSize kInitialFrameSize(1024, 700);

constexpr UINT kChartReadingCommands[] = {ID_VIEW_HIGHLIGHT, ID_VIEW_GAPTODRIVER};
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

CMainFrame::~CMainFrame() = default;

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
    return TRUE;
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
