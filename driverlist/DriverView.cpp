#include "driverlist/DriverView.h"

#include "common/CommandIds.h"
#include "common/SettingsKeys.h"
#include "document/CTarmioDoc.h"
#include "framework/CFrameWnd.h"
#include "framework/CMenu.h"
#include "framework/CWinApp.h"
#include "framework/SystemColours.h"

#include <QGuiApplication>
#include <algorithm>

namespace {

struct DriverColumn {
    const char* heading;
    int width;
};

// Driver, race time, laps, fastest lap, car number; column i shows sub-item i.
constexpr DriverColumn kDriverColumns[] = {
    {"Driver", 125}, {"Time", 110}, {"Laps", 30}, {"Fastlap", 75}, {"ID", 40},
};
constexpr int kDriverColumnCount = static_cast<int>(std::size(kDriverColumns));
constexpr int kMinNameColumnWidth = 100;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr DWORD kDriverListStyle = WS_VISIBLE;

} // namespace

CDriverView::CDriverView(QWidget* parent) : CView(parent) {
    OnCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    OnUpdateCommandUI(ID_EDIT_CUT, [this](CCmdUI* pCmdUI) { OnUpdateEditCut(pCmdUI); });
    OnCommand(ID_VIEW_BLACKBACKGROUND, [this] { OnBlackBackground(); });
}

CDriverView::~CDriverView() {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(settings::kSection, settings::kListBlackBackground, m_bBlackBackground);
}

int CDriverView::OnCreate() {
    if (CView::OnCreate() == -1)
        return -1;
    if (!m_wndDriverList.Create(kDriverListStyle, CRect(0, 0, 0, 0), this, kDriverListId))
        return -1;
    if (const CWinApp* app = AfxGetApp())
        m_bBlackBackground =
            app->GetProfileInt(settings::kSection, settings::kListBlackBackground, m_bBlackBackground) != 0;
    m_wndDriverList.m_crBackground = ListBackground();
    m_wndDriverList.Init();
    return 0;
}

// Every new document starts with the columns at their first widths.
void CDriverView::OnInitialUpdate() {
    m_wndDriverList.DeleteAllItems();
    while (m_wndDriverList.DeleteColumn(0)) {
    }
    for (int column = 0; column < kDriverColumnCount; ++column) {
        const BOOL active = column == 0 ? TRUE : FALSE;
        m_wndDriverList.InsertColumn(column, kDriverColumns[column].heading, active, LVCFMT_LEFT,
                                     kDriverColumns[column].width);
    }
    CView::OnInitialUpdate();
}

void CDriverView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate)
        m_wndDriverList.SetFocus();
}

void CDriverView::OnUpdate(CView* pSender, LPARAM lHint) {
    auto* document = dynamic_cast<CTarmioDoc*>(GetDocument());
    if (lHint == CTarmioDoc::kHintHover) {
        m_wndDriverList.SetMarkedItem(document != nullptr ? document->GetHoveredDriver() : -1);
        return;
    }
    if (lHint == CTarmioDoc::kHintSelection) {
        if (pSender != this)
            ShowSelection();
        return;
    }
    FillDriverList();
    ResizeColumns();
    if ((lHint == CTarmioDoc::kHintRaceReplaced || lHint == CTarmioDoc::kHintColours) && document != nullptr)
        SelectRows(document->GetSelectedDrivers());
    PublishSelection();
}

// The rows go one by one without telling the other views; PublishSelection tells them once.
void CDriverView::SelectRows(const std::vector<int>& rows) {
    m_bQuietSelection = true;
    for (const int row : rows)
        m_wndDriverList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    m_bQuietSelection = false;
}

void CDriverView::PublishSelection() {
    auto* document = dynamic_cast<CTarmioDoc*>(GetDocument());
    if (document == nullptr)
        return;
    std::vector<int> selected;
    for (int row = m_wndDriverList.GetNextSelectedItem(-1); row != -1;
         row = m_wndDriverList.GetNextSelectedItem(row))
        selected.push_back(row);
    document->SetSelectedDrivers(this, std::move(selected));
}

void CDriverView::ShowSelection() {
    const auto* document = dynamic_cast<CTarmioDoc*>(GetDocument());
    if (document == nullptr)
        return;
    const std::vector<int>& drivers = document->GetSelectedDrivers();
    m_bShowingSelection = true;
    m_wndDriverList.SetItemState(-1, 0, LVIS_SELECTED);
    for (const int driver : drivers)
        m_wndDriverList.SetItemState(driver, LVIS_SELECTED, LVIS_SELECTED);
    // The focus goes where the keyboard would carry on from: the first selected row.
    const int focused = m_wndDriverList.currentIndex().isValid() ? m_wndDriverList.currentIndex().row() : -1;
    if (!drivers.empty() && std::find(drivers.begin(), drivers.end(), focused) == drivers.end()) {
        m_wndDriverList.SetItemState(drivers.front(), LVIS_FOCUSED, LVIS_FOCUSED);
        m_wndDriverList.scrollTo(m_wndDriverList.model()->index(drivers.front(), 0));
    }
    m_bShowingSelection = false;
    m_wndDriverList.viewport()->update();
}

// The list paints itself.
void CDriverView::OnDraw(CDC*) {}

void CDriverView::OnSize() {
    CView::OnSize();
    ResizeColumns();
}

// The name column takes what the other four leave, less a scroll bar whether one shows or not.
void CDriverView::ResizeColumns() {
    CRect client;
    GetClientRect(&client);
    m_wndDriverList.MoveWindow(client, TRUE);
    int width = client.Width() - GetSystemMetrics(SM_CXVSCROLL);
    for (int column = 1; column < kDriverColumnCount; ++column)
        width -= m_wndDriverList.GetColumnWidth(column);
    m_wndDriverList.SetColumnWidth(0, std::max(width, kMinNameColumnWidth));
}

RaceData* CDriverView::GetRaceData() const {
    const auto* document = dynamic_cast<const CTarmioDoc*>(GetDocument());
    return document != nullptr ? document->GetRaceData() : nullptr;
}

COLORREF CDriverView::ListBackground() const {
    return m_bBlackBackground ? kBlack : kDefaultColour;
}

LRESULT CDriverView::OnListNotify(UINT idCtrl, NMHDR* pNMHDR) {
    if (idCtrl != kDriverListId || pNMHDR == nullptr)
        return 0;
    if (pNMHDR->code == LVN_KEYDOWN)
        OnListKeyDown(*reinterpret_cast<const NMLVKEYDOWN*>(pNMHDR));
    else if (pNMHDR->code == LVN_COLUMNCLICK)
        OnListColumnClick(*reinterpret_cast<const NMLISTVIEW*>(pNMHDR));
    else if (pNMHDR->code == LVN_ITEMCHANGED && !m_bQuietSelection && !m_bShowingSelection)
        PublishSelection();
    return 0;
}

LRESULT CDriverView::OnListCtrlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LISTCTRL_CONTEXTMENU)
        return OnListContextMenu(wParam, lParam);
    // Everything else goes on to the list's own handling.
    return 0;
}

void CDriverView::OnListKeyDown(const NMLVKEYDOWN& keyDown) {
    if (keyDown.key == Qt::Key_Delete && !QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier))
        DeleteSelectedDrivers();
}

void CDriverView::OnEditCut() {
    DeleteSelectedDrivers();
}

void CDriverView::OnUpdateEditCut(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_wndDriverList.GetNextSelectedItem(-1) != -1 ? TRUE : FALSE);
}

void CDriverView::OnBlackBackground() {
    m_bBlackBackground = !m_bBlackBackground;
    m_wndDriverList.m_crBackground = ListBackground();
    Invalidate();
    m_wndDriverList.viewport()->update();
}

// The point comes packed as two unsigned 16-bit halves; the menu shows with or without a row.
LRESULT CDriverView::OnListContextMenu(WPARAM wParam, LPARAM) {
    const int x = LOWORD(wParam);
    const int y = HIWORD(wParam);
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return 0;
    // Cut shows without its key here, unlike in the main menu.
    menu.AppendMenu(MF_STRING, ID_EDIT_CUT, AfxContextMenuText(ID_EDIT_CUT, true, false));
    menu.AppendMenu(MF_SEPARATOR);
    // The third item names what choosing it will do.
    menu.AppendMenu(MF_STRING, ID_VIEW_BLACKBACKGROUND,
                    AfxContextMenuText(ID_VIEW_BLACKBACKGROUND, m_bBlackBackground != FALSE));
    QWidget* owner = AfxGetMainWnd();
    menu.TrackPopupMenu(x, y, owner != nullptr ? owner : this);
    return 0;
}
