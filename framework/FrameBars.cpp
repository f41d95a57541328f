// The frame's toolbar and status bar: buttons, the message pane with its prompts, and the
// lock-key panes.
#include "common/CommandIds.h"
#include "framework/CFrameWnd.h"
#include "platform/KeyboardLockState.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {
const char* const kIdleMessage = "Ready";
constexpr QSize kToolBarImageSize(16, 15);

struct Indicator {
    UINT id;
    const char* text;
};
constexpr Indicator kIndicators[] = {
    {ID_INDICATOR_CAPS, "CAP"}, {ID_INDICATOR_NUM, "NUM"}, {ID_INDICATOR_SCRL, "SCRL"}};

const char* IndicatorText(UINT nID) {
    for (const Indicator& indicator : kIndicators) {
        if (indicator.id == nID)
            return indicator.text;
    }
    return nullptr;
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

BOOL CFrameWnd::LoadToolBar(std::span<const UINT> buttons) {
    if (m_pToolBar == nullptr) {
        m_pToolBar = new QToolBar(this);
        m_pToolBar->setObjectName("Toolbar");
        m_pToolBar->setWindowTitle("Toolbar");
        m_pToolBar->setIconSize(kToolBarImageSize);
        addToolBar(Qt::TopToolBarArea, m_pToolBar);
    }
    m_pToolBar->clear();
    for (const UINT nID : buttons) {
        if (nID == ID_SEPARATOR) {
            m_pToolBar->addSeparator();
            continue;
        }
        const CommandInfo* command = FindCommand(nID);
        if (command == nullptr || command->image == nullptr)
            return FALSE;
        QAction* action = GetCommandAction(nID);
        action->setIcon(QIcon(QPixmap::fromImage(command->image())));
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
    for (const UINT nID : indicators) {
        if (nID == ID_SEPARATOR)
            continue;
        const char* text = IndicatorText(nID);
        if (text == nullptr)
            return FALSE;
        // The pane keeps its width and shows its text only while its lock is on.
        auto* pane = new QLabel(bar);
        pane->setObjectName(text);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(text) +
                            2 * pane->fontMetrics().averageCharWidth());
        bar->addPermanentWidget(pane);
        m_indicators.emplace_back(nID, pane);
    }
    UpdateIndicators();
    ShowIdleMessage();
    return TRUE;
}

void CFrameWnd::UpdateIndicators() {
    if (m_indicators.empty())
        return;
    const KeyboardLocks locks = ReadKeyboardLocks();
    for (const auto& [nID, pane] : m_indicators) {
        const bool on = (nID == ID_INDICATOR_CAPS && locks.caps) || (nID == ID_INDICATOR_NUM && locks.num) ||
                        (nID == ID_INDICATOR_SCRL && locks.scroll);
        const QString text = on ? QString(IndicatorText(nID)) : QString();
        if (pane->text() != text)
            pane->setText(text);
    }
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
    return m_strIdleMessage.isEmpty() ? QString(kIdleMessage) : m_strIdleMessage;
}

void CFrameWnd::ShowIdleMessage() {
    SetMessageText(IdleText());
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
