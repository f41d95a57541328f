#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CView.h"

#include <QKeyCombination>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <span>
#include <unordered_map>
#include <vector>

class CDocument;
class QAction;
class QImage;
class QKeyEvent;
class QLabel;
class QMenu;
class QToolBar;

// One row of the program's command table: everything the shell shows of one command.
struct CommandInfo {
    UINT id;
    const char* menuText;              // the key column comes from the first key
    QKeyCombination keys[2];           // accelerators; Qt::Key_unknown for none
    QImage (*image)();                 // its toolbar button's picture, if it has a button
    const char* prompt;                // the status bar's text while its item is highlighted
    const char* tip;                   // its toolbar button's tooltip
    const char* menuTextWhileOff = ""; // a context menu's two-state item: menuText is its text while on
};

// A popup of the main menu: its title and its commands in order, ID_SEPARATOR for a line.
struct MenuPopup {
    const char* title;
    std::vector<UINT> items;
};

// A context menu's text for a command of the main window's table: its menu text, or its text while
// off, without the mnemonic; withKey adds the first key in the key column, as the main menu shows
// it. Empty without a main window.
QString AfxContextMenuText(UINT nID, bool on = true, bool withKey = true);

// The main window: menu, toolbar, status bar and the views; routes every command to the active
// view, then the document, then itself, then the application.
class CFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CFrameWnd(QWidget* parent = nullptr);
    ~CFrameWnd() override;

    // Creation, as the application drives it: OnCreate, then OnCreateClient. FALSE when
    // either refused; the frame is then unusable and the caller destroys it.
    BOOL LoadFrame(CDocument* pDoc);
    // After a New: makes the first pane active if no view is, runs every view's initial update,
    // shows the frame and brings the caption up to date.
    void InitialUpdateFrame(CDocument* pDoc);

    CView* GetActiveView() const { return m_pActiveView.data(); }
    // Makes pView the active view, telling the old and the new one (OnActivateView).
    void SetActiveView(CView* pView);
    // The active view's document, else the document the frame was created for.
    CDocument* GetActiveDocument() const;

    // Carries out a command along the route now, unless its state says it is disabled; TRUE when
    // some target handled it.
    BOOL SendCommand(UINT nID);
    // Carries it out once the current event has been handled.
    void PostCommand(UINT nID);
    // Brings every menu item and toolbar button up to date; runs before a menu opens and when idle.
    void UpdateAllCommandUI();

    // The status bar's message pane.
    virtual void SetMessageText(const QString& text);
    QString GetMessageText() const;
    void ShowIdleMessage();
    // Shown instead of the idle string while not empty: a standing note about what the views show.
    void SetIdleMessage(const QString& text);
    // A command's status-bar prompt, from the command table.
    QString GetMessageString(UINT nID) const;

    // The frame's own title; the caption is "<document title> - <title>".
    void SetTitle(const QString& title);
    void OnUpdateFrameTitle();

    // The command table: each command's texts, keys and image. The menu and toolbar name
    // commands of it; its keys are the frame's accelerators.
    void SetCommandTable(std::span<const CommandInfo> commands);
    BOOL LoadMenu(std::span<const MenuPopup> menu);
    // Buttons left to right (ID_SEPARATOR for a gap); FALSE when a button has no image.
    BOOL LoadToolBar(std::span<const UINT> buttons);
    // Status-bar panes: ID_SEPARATOR is the message pane, the rest are key indicators.
    BOOL SetIndicators(std::span<const UINT> indicators);

    // The table's row of a command; null when the table has none.
    const CommandInfo* FindCommand(UINT nID) const;
    // The one action behind the menu item and toolbar button of a command (made on first use).
    QAction* GetCommandAction(UINT nID);
    QToolBar* GetToolBar() const { return m_pToolBar; }

    // Files dropped on the window, once it accepts drops, reach OnDropFiles.
    virtual void OnDropFiles(const QStringList&) {}

    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

protected:
    virtual int OnCreate() { return 0; }
    // Creates the views; the default makes none.
    virtual BOOL OnCreateClient(CDocument*) { return TRUE; }

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    QPointer<CView> m_pActiveView;
    CDocument* m_pDocument = nullptr;

private:
    // Carries out the accelerator of a key press; TRUE when the table has the key.
    bool TranslateAccelerator(const QKeyEvent& event);
    CView* GetFirstPaneView() const;
    void OnFocusChanged(QWidget* now);
    QString IdleText() const;
    void RegisterFrameCommands();
    void ActivateNextPane(BOOL bPrev);
    void ConnectMenuPrompts(QMenu* menu);
    void UpdateIndicators();

    QString m_strTitle;
    QString m_strIdleMessage;
    std::span<const CommandInfo> m_commandTable;
    std::unordered_map<UINT, QAction*> m_commandActions;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pMessagePane = nullptr;
    std::vector<std::pair<UINT, QLabel*>> m_indicators;
    // The locks change with keys: this program's own, or another's while it was in the background.
    // Asking the display server at every idle would cost a round trip each time. The server may
    // light a lock's indicator a moment after it hands the key on: a key is followed by a second
    // look.
    bool m_bLocksMayHaveChanged = false;
    bool m_bInBackground = false;
    QTimer m_lockSecondLook;
    bool m_bUpdatingCommandUI = false;
};
