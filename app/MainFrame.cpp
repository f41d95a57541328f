#include "app/MainFrame.h"

#include "app/Artwork.h"
#include "app/Resource.h"
#include "app/Resources.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CSplitterWnd.h"
#include "framework/CommandIds.h"
#include "graph/TarmioView.h"

namespace {
constexpr int kDriverListIdealWidth = 360;
constexpr int kPaneMinimumWidth = 8;
constexpr DWORD kSplitterStyle = 0x50000000; // a visible child window
constexpr QSize kInitialFrameSize(1024, 700);

constexpr UINT kChartReadingCommands[] = {ID_VIEW_HIGHLIGHT, ID_VIEW_GAPTODRIVER};
} // namespace

CMainFrame::CMainFrame() {
    setWindowIcon(ProgramIcon());
    resize(kInitialFrameSize);
    for (const UINT id : kChartReadingCommands) {
        OnCommand(id, [this, id] { ForwardToChart(id, nullptr); });
        OnUpdateCommandUI(id, [this, id](CCmdUI* pCmdUI) { ForwardToChart(id, pCmdUI); });
    }
}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate() {
    if (!LoadMenu(MainMenu()) || !LoadAccelTable(MainAccelerators()))
        return -1;
    if (!LoadToolBar(ToolBarButtons(), ToolBarImages()))
        return -1;
    if (!SetIndicators(StatusIndicators()))
        return -1;
    return 0;
}

BOOL CMainFrame::OnCreateClient(CCreateContext* pContext) {
    m_wndSplitter = new CSplitterWnd(this);
    if (!m_wndSplitter->CreateStatic(this, 1, 2, kSplitterStyle, AFX_IDW_PANE_FIRST))
        return FALSE;
    if (!m_wndSplitter->CreateView(0, 0, new CDriverView, CSize(0, 0), pContext))
        return FALSE;
    if (!m_wndSplitter->CreateView(0, 1, new CTarmioView, CSize(0, 0), pContext))
        return FALSE;
    m_wndSplitter->SetColumnInfo(0, kDriverListIdealWidth, kPaneMinimumWidth);
    m_wndSplitter->SetColumnInfo(1, 0, kPaneMinimumWidth);
    return TRUE;
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
