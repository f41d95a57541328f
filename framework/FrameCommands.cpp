// The command table's menus and keys, and the idle update of every command's state.
#include "common/CommandIds.h"
#include "framework/CFrameWnd.h"
#include "framework/CMenu.h"
#include "framework/CWinApp.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
void ApplyCommandState(QAction* action, const CCmdUI& state) {
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

// The key as the table names it: only + - * of the keypad differ from the main keyboard's.
QKeyCombination PressedKey(const QKeyEvent& event) {
    const auto key = static_cast<Qt::Key>(event.key());
    Qt::KeyboardModifiers held =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool keypadSign = key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk;
    if (keypadSign && event.modifiers().testFlag(Qt::KeypadModifier))
        held |= Qt::KeypadModifier;
    return QKeyCombination(held, key);
}
// QMenu shows the text after a tab at the right, as the accelerator column.
QString KeyColumn(const CommandInfo& command) {
    if (command.keys[0].key() == Qt::Key_unknown)
        return QString();
    return '\t' + QKeySequence(command.keys[0]).toString(QKeySequence::PortableText);
}

// "Cu&t" reads "Cut"; "&&" stands for an ampersand.
QString WithoutMnemonic(const char* text) {
    QString plain = QString::fromUtf8(text);
    for (qsizetype i = plain.indexOf('&'); i != -1 && i + 1 < plain.size(); i = plain.indexOf('&', i + 1))
        plain.remove(i, 1);
    return plain;
}
} // namespace

QString AfxContextMenuText(UINT nID, bool on, bool withKey) {
    const CFrameWnd* frame = AfxGetMainWnd();
    const CommandInfo* command = frame != nullptr ? frame->FindCommand(nID) : nullptr;
    if (command == nullptr)
        return QString();
    const QString text = WithoutMnemonic(on ? command->menuText : command->menuTextWhileOff);
    return withKey ? text + KeyColumn(*command) : text;
}

void CFrameWnd::SetCommandTable(std::span<const CommandInfo> commands) {
    m_commandTable = commands;
}

const CommandInfo* CFrameWnd::FindCommand(UINT nID) const {
    for (const CommandInfo& command : m_commandTable) {
        if (command.id == nID)
            return &command;
    }
    return nullptr;
}

QString CFrameWnd::GetMessageString(UINT nID) const {
    const CommandInfo* command = FindCommand(nID);
    return command != nullptr ? QString::fromUtf8(command->prompt) : QString();
}

QAction* CFrameWnd::GetCommandAction(UINT nID) {
    const auto found = m_commandActions.find(nID);
    if (found != m_commandActions.end())
        return found->second;
    auto* action = new QAction(this);
    action->setData(nID);
    if (const CommandInfo* command = FindCommand(nID)) {
        action->setStatusTip(QString::fromUtf8(command->prompt));
        if (*command->tip != '\0')
            action->setToolTip(QString::fromUtf8(command->tip));
    }
    connect(action, &QAction::triggered, this, [this, nID] { SendCommand(nID); });
    m_commandActions.emplace(nID, action);
    return action;
}

void CFrameWnd::ConnectMenuPrompts(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, &CFrameWnd::UpdateAllCommandUI);
    connect(menu, &QMenu::hovered, this,
            [this](QAction* action) { SetMessageText(GetMessageString(action->data().toUInt())); });
    connect(menu, &QMenu::aboutToHide, this, &CFrameWnd::ShowIdleMessage);
}

BOOL CFrameWnd::LoadMenu(std::span<const MenuPopup> menu) {
    menuBar()->clear();
    for (const MenuPopup& entry : menu) {
        QMenu* popup = menuBar()->addMenu(QString::fromUtf8(entry.title));
        AfxPrepareMenu(popup);
        ConnectMenuPrompts(popup);
        for (const UINT nID : entry.items) {
            if (nID == ID_SEPARATOR) {
                popup->addSeparator();
                continue;
            }
            const CommandInfo* command = FindCommand(nID);
            if (command == nullptr)
                return FALSE;
            const QString text = QString::fromUtf8(command->menuText) + KeyColumn(*command);
            QAction* action = GetCommandAction(nID);
            action->setText(text);
            popup->addAction(action);
        }
    }
    return TRUE;
}

bool CFrameWnd::TranslateAccelerator(const QKeyEvent& event) {
    // Qt's shortcut matching misses the keypad keys on some platforms, so the frame matches every
    // key press itself.
    const QKeyCombination pressed = PressedKey(event);
    for (const CommandInfo& command : m_commandTable) {
        for (const QKeyCombination key : command.keys) {
            if (key.key() != Qt::Key_unknown && key == pressed) {
                // Like the platform's accelerators the key is taken even when the command is
                // disabled: SendCommand drops it rather than letting it fall through to a view.
                SendCommand(command.id);
                return true;
            }
        }
    }
    return false;
}

bool CFrameWnd::eventFilter(QObject* watched, QEvent* event) {
    // A floating toolbar is a window of its own, where the buttons' prompts stop on their way
    // up: it hands them on, so leaving a button brings back the idle text there too.
    if (event->type() == QEvent::StatusTip && watched == m_pToolBar && m_pToolBar->isWindow())
        return CFrameWnd::event(event);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        m_bLocksMayHaveChanged = true;
        m_lockSecondLook.start();
    }
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
    if (m_bLocksMayHaveChanged) {
        m_bLocksMayHaveChanged = false;
        UpdateIndicators();
    }
}
