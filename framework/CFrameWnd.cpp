// The frame's creation, its active view and the route every command travels.
#include "framework/CFrameWnd.h"

#include "common/CommandIds.h"
#include "framework/CDocument.h"
#include "framework/CSplitterWnd.h"
#include "framework/CWinApp.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QStatusBar>
#include <QToolBar>
#include <utility>

namespace {
constexpr int kLockSecondLookMs = 150;
} // namespace

CFrameWnd::CFrameWnd(QWidget* parent) : QMainWindow(parent) {
    RegisterFrameCommands();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    // Another program may have changed the locks while this one was in the background.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            m_bInBackground = true;
        else if (std::exchange(m_bInBackground, false))
            m_bLocksMayHaveChanged = true;
    });
    m_lockSecondLook.setSingleShot(true);
    m_lockSecondLook.setInterval(kLockSecondLookMs);
    connect(&m_lockSecondLook, &QTimer::timeout, this, [this] { m_bLocksMayHaveChanged = true; });
    // Keys reach the accelerators before the focus window, as in the platform's message loop.
    qApp->installEventFilter(this);
    // The idle update: whenever the event loop has run dry and is about to wait, every command's
    // menu item and toolbar button is brought up to date, as the platform does in its idle time.
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CFrameWnd::UpdateAllCommandUI);
}

CFrameWnd::~CFrameWnd() {
    // Views die with the frame's widgets; they must not be told of activation any more.
    m_pActiveView = nullptr;
    disconnect(qApp, nullptr, this, nullptr);
    if (m_pDocument != nullptr)
        m_pDocument->m_onTitleChanged = nullptr;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

void CFrameWnd::RegisterFrameCommands() {
    OnCommand(ID_APP_EXIT, [this] { close(); });
    OnCommand(ID_VIEW_TOOLBAR, [this] {
        if (m_pToolBar != nullptr)
            m_pToolBar->setVisible(!m_pToolBar->isVisible());
    });
    OnUpdateCommandUI(ID_VIEW_TOOLBAR, [this](CCmdUI* pCmdUI) {
        pCmdUI->Enable(m_pToolBar != nullptr);
        pCmdUI->SetCheck(m_pToolBar != nullptr && !m_pToolBar->isHidden());
    });
    OnCommand(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    OnUpdateCommandUI(ID_VIEW_STATUS_BAR,
                      [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck(!statusBar()->isHidden()); });
    OnCommand(ID_NEXT_PANE, [this] { ActivateNextPane(FALSE); });
    OnCommand(ID_PREV_PANE, [this] { ActivateNextPane(TRUE); });
    const auto updatePane = [this](CCmdUI* pCmdUI) {
        auto* splitter =
            m_pActiveView != nullptr ? qobject_cast<CSplitterWnd*>(m_pActiveView->parentWidget()) : nullptr;
        pCmdUI->Enable(splitter != nullptr && splitter->CanActivateNext());
    };
    OnUpdateCommandUI(ID_NEXT_PANE, updatePane);
    OnUpdateCommandUI(ID_PREV_PANE, updatePane);
}

BOOL CFrameWnd::LoadFrame(CDocument* pDoc) {
    m_pDocument = pDoc;
    if (OnCreate() == -1)
        return FALSE;
    if (!OnCreateClient(pDoc))
        return FALSE;
    if (m_pMessagePane == nullptr)
        SetIndicators(std::span<const UINT>());
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = this;
    return TRUE;
}

CView* CFrameWnd::GetFirstPaneView() const {
    if (auto* splitter = qobject_cast<CSplitterWnd*>(centralWidget()))
        return splitter->GetPane(0, 0);
    return qobject_cast<CView*>(centralWidget());
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc) {
    m_pDocument = pDoc;
    if (pDoc != nullptr)
        pDoc->m_onTitleChanged = [this] { OnUpdateFrameTitle(); };
    if (GetActiveView() == nullptr) {
        if (CView* first = GetFirstPaneView())
            SetActiveView(first);
    }
    if (pDoc != nullptr) {
        const std::vector<CView*> views = pDoc->GetViews();
        for (CView* view : views)
            view->OnInitialUpdate();
    }
    show();
    activateWindow();
    OnUpdateFrameTitle();
    ShowIdleMessage();
}

CDocument* CFrameWnd::GetActiveDocument() const {
    if (m_pActiveView != nullptr && m_pActiveView->GetDocument() != nullptr)
        return m_pActiveView->GetDocument();
    return m_pDocument;
}

void CFrameWnd::SetActiveView(CView* pView) {
    CView* previous = m_pActiveView.data();
    if (pView == previous)
        return;
    m_pActiveView = pView;
    if (previous != nullptr)
        previous->OnActivateView(FALSE, pView, previous);
    if (pView != nullptr)
        pView->OnActivateView(TRUE, pView, previous);
}

void CFrameWnd::OnFocusChanged(QWidget* now) {
    for (QWidget* widget = now; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* view = qobject_cast<CView*>(widget)) {
            if (view->GetParentFrame() == this)
                SetActiveView(view);
            return;
        }
    }
}

void CFrameWnd::ActivateNextPane(BOOL bPrev) {
    if (m_pActiveView == nullptr)
        return;
    if (auto* splitter = qobject_cast<CSplitterWnd*>(m_pActiveView->parentWidget()))
        splitter->ActivateNext(bPrev);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    if (m_pActiveView != nullptr) {
        if (m_pActiveView->OnCmdMsg(nID, pCmdUI))
            return TRUE;
    } else if (m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, pCmdUI)) {
        return TRUE;
    }
    if (HandleOwnCommand(nID, pCmdUI))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, pCmdUI);
}

BOOL CFrameWnd::SendCommand(UINT nID) {
    // As the platform does before routing a command: one that has become disabled is dropped.
    CCmdUI state(nID);
    UpdateCommandState(*this, state);
    if (!state.m_bEnabled)
        return FALSE;
    return OnCmdMsg(nID, nullptr);
}

void CFrameWnd::PostCommand(UINT nID) {
    QMetaObject::invokeMethod(
        this, [this, nID] { SendCommand(nID); }, Qt::QueuedConnection);
}

void CFrameWnd::SetTitle(const QString& title) {
    m_strTitle = title;
    OnUpdateFrameTitle();
}

void CFrameWnd::OnUpdateFrameTitle() {
    CDocument* doc = GetActiveDocument();
    // An empty document title would leave a caption starting with a bare hyphen.
    if (doc != nullptr && !doc->GetTitle().isEmpty())
        setWindowTitle(doc->GetTitle() + " - " + m_strTitle);
    else
        setWindowTitle(m_strTitle);
}
