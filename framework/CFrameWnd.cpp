#include "framework/CFrameWnd.h"

#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/FileNames.h"
#include "framework/CMenu.h"
#include "framework/CSplitterWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/CommandIds.h"
#include "framework/KeyboardLocks.h"
#include "framework/StringTable.h"
#include "framework/VirtualKeys.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

namespace {
const char* const kFallbackIdleMessage = "Ready";
const char* const kCommandProperty = "tarmioCommand";
constexpr QSize kToolBarImageSize(16, 15);

// The keys an accelerator table may name besides letters, digits and function keys.
const std::pair<UINT, QKeyCombination> kNamedKeys[] = {
    {VK_ADD, QKeyCombination(Qt::KeypadModifier, Qt::Key_Plus)},
    {VK_SUBTRACT, QKeyCombination(Qt::KeypadModifier, Qt::Key_Minus)},
    {VK_MULTIPLY, QKeyCombination(Qt::KeypadModifier, Qt::Key_Asterisk)},
    {VK_DELETE, QKeyCombination(Qt::Key_Delete)},
    {VK_INSERT, QKeyCombination(Qt::Key_Insert)},
    {VK_RETURN, QKeyCombination(Qt::Key_Return)},
    {VK_ESCAPE, QKeyCombination(Qt::Key_Escape)},
    {VK_BACK, QKeyCombination(Qt::Key_Backspace)},
    {VK_TAB, QKeyCombination(Qt::Key_Tab)},
    {VK_SPACE, QKeyCombination(Qt::Key_Space)},
};

// The Qt key of a virtual key of an accelerator table; the keypad keys carry the keypad modifier
// so that they stay apart from the main keyboard's + and -.
QKeyCombination QtKeyFromVirtualKey(UINT vk) {
    if (vk >= 'A' && vk <= 'Z')
        return QKeyCombination(static_cast<Qt::Key>(Qt::Key_A + (vk - 'A')));
    if (vk >= '0' && vk <= '9')
        return QKeyCombination(static_cast<Qt::Key>(Qt::Key_0 + (vk - '0')));
    if (vk >= VK_F1 && vk < VK_F1 + 24)
        return QKeyCombination(static_cast<Qt::Key>(Qt::Key_F1 + (vk - VK_F1)));
    for (const auto& [virtualKey, qtKey] : kNamedKeys) {
        if (virtualKey == vk)
            return qtKey;
    }
    return QKeyCombination(Qt::Key_unknown);
}

QKeySequence ShortcutOf(const AcceleratorResource& entry) {
    const QKeyCombination key = QtKeyFromVirtualKey(entry.key);
    Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
    if ((entry.fVirt & FSHIFT) != 0)
        modifiers |= Qt::ShiftModifier;
    if ((entry.fVirt & FCONTROL) != 0)
        modifiers |= Qt::ControlModifier;
    if ((entry.fVirt & FALT) != 0)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, key.key()));
}

// Tests on a real display read the message pane through this trace: each text the pane shows
// becomes one line of the file named by TARMIO_STATUS_TRACE.
void TraceMessageText(const QString& text) {
    static const QByteArray path = qgetenv("TARMIO_STATUS_TRACE");
    if (path.isEmpty())
        return;
    QFile trace(QString::fromLocal8Bit(path));
    if (trace.open(QIODevice::Append | QIODevice::Text))
        trace.write(text.toUtf8() + '\n');
}

} // namespace

CFrameWnd::CFrameWnd(QWidget* parent) : QMainWindow(parent) {
    RegisterFrameCommands();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    // Keys reach the accelerator table before the focus window, as in the platform's message loop.
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

BOOL CFrameWnd::LoadFrame(CCreateContext* pContext) {
    m_pDocument = pContext != nullptr ? pContext->m_pCurrentDoc : nullptr;
    if (OnCreate() == -1)
        return FALSE;
    if (!OnCreateClient(pContext))
        return FALSE;
    if (m_pMessagePane == nullptr)
        SetIndicators(std::span<const UINT>());
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = this;
    return TRUE;
}

BOOL CFrameWnd::OnCreateClient(CCreateContext* pContext) {
    if (pContext == nullptr || !pContext->m_pNewViewClass)
        return TRUE;
    CView* view = pContext->m_pNewViewClass();
    if (view == nullptr || !view->Create(this, pContext->m_pCurrentDoc)) {
        delete view;
        return FALSE;
    }
    setCentralWidget(view);
    return TRUE;
}

CView* CFrameWnd::GetFirstPaneView() const {
    if (auto* splitter = qobject_cast<CSplitterWnd*>(centralWidget()))
        return splitter->GetPane(0, 0);
    return qobject_cast<CView*>(centralWidget());
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
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
    if (bMakeVisible) {
        show();
        activateWindow();
    }
    OnUpdateFrameTitle();
    ShowIdleMessage();
}

CDocument* CFrameWnd::GetActiveDocument() const {
    if (m_pActiveView != nullptr && m_pActiveView->GetDocument() != nullptr)
        return m_pActiveView->GetDocument();
    return m_pDocument;
}

void CFrameWnd::SetActiveView(CView* pView, BOOL bNotify) {
    CView* previous = m_pActiveView.data();
    if (pView == previous)
        return;
    m_pActiveView = pView;
    if (!bNotify)
        return;
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

BOOL CFrameWnd::HasCommandHandler(UINT nID) const {
    if (m_pActiveView != nullptr) {
        if (m_pActiveView->HasCommandHandler(nID))
            return TRUE;
    } else if (m_pDocument != nullptr && m_pDocument->HasCommandHandler(nID)) {
        return TRUE;
    }
    if (HasOwnCommandHandler(nID))
        return TRUE;
    const CWinApp* app = AfxGetApp();
    return app != nullptr && app->HasCommandHandler(nID);
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

void CFrameWnd::ApplyCommandState(QAction* action, const CCmdUI& state) {
    action->setEnabled(state.m_bEnabled);
    if (state.m_bCheckChanged) {
        action->setCheckable(true);
        action->setChecked(state.m_nCheck != 0);
    }
    // Menus draw a dot instead of a tick for an action of an exclusive group; a group of its own
    // leaves the choice to the command's state handler.
    if (state.m_bRadio && action->actionGroup() == nullptr)
        (new QActionGroup(action))->addAction(action);
}

void CFrameWnd::UpdateCommandUI(UINT nID) {
    const auto found = m_commandActions.find(nID);
    if (found == m_commandActions.end())
        return;
    CCmdUI state(nID);
    UpdateCommandState(*this, state);
    ApplyCommandState(found->second, state);
}

void CFrameWnd::UpdateAllCommandUI() {
    // A state handler that opens a dialog would come back here through the nested event loop.
    if (m_bUpdatingCommandUI)
        return;
    m_bUpdatingCommandUI = true;
    for (const auto& [nID, action] : m_commandActions) {
        CCmdUI state(nID);
        UpdateCommandState(*this, state);
        ApplyCommandState(action, state);
    }
    m_bUpdatingCommandUI = false;
    UpdateIndicators();
}

void CFrameWnd::UpdateIndicators() {
    if (m_indicators.empty())
        return;
    // Where the platform does not tell the lock states, the panes stay blank.
    const KeyboardLocks locks = ReadKeyboardLocks().value_or(KeyboardLocks{});
    for (const auto& [nID, pane] : m_indicators) {
        const bool on = (nID == ID_INDICATOR_CAPS && locks.caps) || (nID == ID_INDICATOR_NUM && locks.num) ||
                        (nID == ID_INDICATOR_SCRL && locks.scroll);
        const QString text = on ? AfxLoadString(nID) : QString();
        if (pane->text() != text)
            pane->setText(text);
    }
}

UINT CFrameWnd::GetActionCommand(const QAction* action) {
    return action->property(kCommandProperty).toUInt();
}

QAction* CFrameWnd::GetCommandAction(UINT nID) {
    const auto found = m_commandActions.find(nID);
    if (found != m_commandActions.end())
        return found->second;
    auto* action = new QAction(this);
    action->setProperty(kCommandProperty, nID);
    const QString prompt = GetMessageString(nID);
    if (!prompt.isEmpty())
        action->setStatusTip(prompt);
    const QString tip = GetTipString(nID);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    connect(action, &QAction::triggered, this, [this, nID] { SendCommand(nID); });
    m_commandActions.emplace(nID, action);
    return action;
}

void CFrameWnd::ConnectMenuPrompts(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, &CFrameWnd::UpdateAllCommandUI);
    connect(menu, &QMenu::hovered, this,
            [this](QAction* action) { SetMessageText(GetMessageString(GetActionCommand(action))); });
    connect(menu, &QMenu::aboutToHide, this, &CFrameWnd::ShowIdleMessage);
}

BOOL CFrameWnd::LoadMenu(std::span<const MenuResource> menu) {
    QMenuBar* bar = menuBar();
    bar->clear();
    QMenu* popup = nullptr;
    for (const MenuResource& entry : menu) {
        switch (entry.kind) {
        case MenuResource::Popup:
            popup = bar->addMenu(QString::fromUtf8(entry.text));
            AfxPrepareMenu(popup);
            ConnectMenuPrompts(popup);
            break;
        case MenuResource::Separator:
            if (popup == nullptr)
                return FALSE;
            popup->addSeparator();
            break;
        case MenuResource::Item: {
            if (popup == nullptr)
                return FALSE;
            QAction* action = GetCommandAction(entry.id);
            // QMenu shows the text after the tab at the right, as the accelerator column.
            action->setText(QString::fromUtf8(entry.text));
            if ((entry.flags & MF_GRAYED) != 0)
                action->setEnabled(false);
            popup->addAction(action);
            break;
        }
        }
    }
    return TRUE;
}

QAction* CFrameWnd::MakeAccelerator(const AcceleratorResource& entry) {
    // The action only describes the entry: Qt's shortcut matching misses the keypad keys on some
    // platforms, so TranslateAccelerator matches every key press itself, as the platform does.
    auto* action = new QAction(this);
    action->setProperty(kCommandProperty, entry.cmd);
    action->setShortcut(ShortcutOf(entry));
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

BOOL CFrameWnd::TranslateAccelerator(const QKeyEvent& event) {
    const UINT vk = VirtualKeyFromEvent(event);
    if (vk == 0)
        return FALSE;
    const Qt::KeyboardModifiers held = event.modifiers();
    BYTE modifiers = 0;
    if (held.testFlag(Qt::ShiftModifier))
        modifiers |= FSHIFT;
    if (held.testFlag(Qt::ControlModifier))
        modifiers |= FCONTROL;
    if (held.testFlag(Qt::AltModifier))
        modifiers |= FALT;
    for (const AcceleratorResource& entry : m_accelTable) {
        if (entry.key == vk && (entry.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers) {
            // Like the platform's accelerators the key is taken even when the command is
            // disabled: SendCommand drops it rather than letting it fall through to a view.
            SendCommand(entry.cmd);
            return TRUE;
        }
    }
    return FALSE;
}

bool CFrameWnd::eventFilter(QObject* watched, QEvent* event) {
    // A floating toolbar is a window of its own, where the buttons' prompts stop on their way
    // up: it hands them on, so leaving a button brings back the idle text there too.
    if (event->type() == QEvent::StatusTip && watched == m_pToolBar && m_pToolBar->isWindow())
        return CFrameWnd::event(event);
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this)
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (TranslateAccelerator(*key))
        return true;
    // Shift+F10 asks the focus window for its context menu, as the Menu key does.
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
        auto* widget = static_cast<QWidget*>(watched);
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), widget->mapToGlobal(QPoint()));
        QApplication::sendEvent(widget, &request);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

BOOL CFrameWnd::LoadAccelTable(std::span<const AcceleratorResource> table) {
    for (QAction* action : m_accelerators) {
        removeAction(action);
        delete action;
    }
    m_accelerators.clear();
    m_accelTable.clear();
    for (const AcceleratorResource& entry : table) {
        if ((entry.fVirt & FVIRTKEY) == 0 || QtKeyFromVirtualKey(entry.key).key() == Qt::Key_unknown)
            return FALSE;
        m_accelerators.push_back(MakeAccelerator(entry));
        m_accelTable.push_back(entry);
    }
    return TRUE;
}

BOOL CFrameWnd::LoadToolBar(std::span<const UINT> buttons, const std::vector<QImage>& images) {
    const auto imageCount =
        std::count_if(buttons.begin(), buttons.end(), [](UINT id) { return id != ID_SEPARATOR; });
    if (static_cast<size_t>(imageCount) != images.size())
        return FALSE;
    if (m_pToolBar == nullptr) {
        m_pToolBar = new QToolBar(this);
        m_pToolBar->setObjectName("Toolbar");
        m_pToolBar->setWindowTitle("Toolbar");
        m_pToolBar->setIconSize(kToolBarImageSize);
        addToolBar(Qt::TopToolBarArea, m_pToolBar);
    }
    m_pToolBar->clear();
    size_t image = 0;
    for (const UINT id : buttons) {
        if (id == ID_SEPARATOR) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = GetCommandAction(id);
        action->setIcon(QIcon(QPixmap::fromImage(images[image++])));
        m_pToolBar->addAction(action);
    }
    return TRUE;
}

BOOL CFrameWnd::SetIndicators(std::span<const UINT> indicators) {
    QStatusBar* bar = statusBar();
    if (m_pMessagePane == nullptr) {
        m_pMessagePane = new QLabel(bar);
        m_pMessagePane->setObjectName("MessagePane");
        bar->addWidget(m_pMessagePane, 1);
    }
    for (const UINT id : indicators) {
        if (id == ID_SEPARATOR)
            continue;
        const QString text = AfxLoadString(id);
        if (text.isEmpty())
            return FALSE;
        // The pane keeps its width and shows its text only while its lock is on.
        auto* pane = new QLabel(bar);
        pane->setObjectName(text);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(text) +
                            2 * pane->fontMetrics().averageCharWidth());
        bar->addPermanentWidget(pane);
        m_indicators.emplace_back(id, pane);
    }
    UpdateIndicators();
    ShowIdleMessage();
    return TRUE;
}

void CFrameWnd::SetMessageText(const QString& text) {
    if (m_pMessagePane == nullptr)
        return;
    m_pMessagePane->setText(text);
    TraceMessageText(text);
}

QString CFrameWnd::GetMessageText() const {
    return m_pMessagePane != nullptr ? m_pMessagePane->text() : QString();
}

void CFrameWnd::SetIdleMessage(const QString& text) {
    const bool showingIdle = GetMessageText() == IdleText();
    m_strIdleMessage = text;
    if (showingIdle)
        ShowIdleMessage();
}

QString CFrameWnd::IdleText() const {
    if (!m_strIdleMessage.isEmpty())
        return m_strIdleMessage;
    const QString idle = AfxLoadString(AFX_IDS_IDLEMESSAGE);
    return idle.isEmpty() ? QString(kFallbackIdleMessage) : idle;
}

void CFrameWnd::ShowIdleMessage() {
    SetMessageText(IdleText());
}

QString CFrameWnd::GetMessageString(UINT nID) const {
    return AfxLoadString(nID).section('\n', 0, 0);
}

QString CFrameWnd::GetTipString(UINT nID) {
    const QString prompt = AfxLoadString(nID);
    const auto newline = prompt.indexOf('\n');
    return newline < 0 ? QString() : prompt.mid(newline + 1);
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

void CFrameWnd::DragAcceptFiles(BOOL bAccept) {
    setAcceptDrops(bAccept != FALSE);
}

void CFrameWnd::OnDropFiles(const QStringList& paths) {
    // The framework hands each dropped file to the document's open operation.
    CWinApp* app = AfxGetApp();
    CSingleDocTemplate* docTemplate = app != nullptr ? app->GetDocTemplate() : nullptr;
    if (docTemplate == nullptr)
        return;
    for (const QString& path : paths)
        docTemplate->OpenDocumentFile(path);
}

void CFrameWnd::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CFrameWnd::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // toLocalFile() would turn bytes that are not UTF-8 into U+FFFD: decode them as a name.
        if (url.isLocalFile())
            paths.append(
                DecodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    OnDropFiles(paths);
}

bool CFrameWnd::event(QEvent* event) {
    // Toolbar buttons and menu-bar items report their prompts here; the message pane shows them,
    // and the idle text when the pointer leaves.
    if (event->type() == QEvent::StatusTip) {
        // An open menu reports its highlighted item itself (ConnectMenuPrompts), greyed items
        // and items without a prompt included; its actions' own tips would say "Ready".
        if (qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr)
            return true;
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (tip.isEmpty())
            ShowIdleMessage();
        else
            SetMessageText(tip);
        return true;
    }
    return QMainWindow::event(event);
}
