#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CView.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
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
struct CCreateContext;

// One line of a menu resource: a top-level popup, an item of the popup before it, or a separator.
struct MenuResource {
    enum Kind { Popup, Item, Separator };
    Kind kind;
    UINT id = 0;
    const char* text = "";
    UINT flags = 0; // MF_GRAYED: greyed until its command's state says otherwise
};

// Accelerator flags, as the platform's accelerator tables spell them.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

// One entry of an accelerator table: a virtual key with its modifiers and the command it sends.
struct AcceleratorResource {
    BYTE fVirt;
    UINT key; // virtual-key code ('A'..'Z', VK_...)
    UINT cmd;
};

// The main window: menu, toolbar, status bar and the views; routes every command to the active
// view, then the document, then itself, then the application.
class CFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CFrameWnd(QWidget* parent = nullptr);
    ~CFrameWnd() override;

    // Creation, as the document template drives it: OnCreate, then OnCreateClient. FALSE when
    // either refused; the frame is then unusable and the caller destroys it.
    BOOL LoadFrame(CCreateContext* pContext);
    // After a New: makes the first pane active if no view is, runs every view's initial update,
    // shows the frame if asked and brings the caption up to date.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    CView* GetActiveView() const { return m_pActiveView.data(); }
    // Makes pView the active view, telling the old and the new one (OnActivateView).
    void SetActiveView(CView* pView, BOOL bNotify = TRUE);
    // The active view's document, else the document the frame was created for.
    CDocument* GetActiveDocument() const;

    // Carries out a command along the route now, unless its state says it is disabled; TRUE when
    // some target handled it.
    BOOL SendCommand(UINT nID);
    // Carries it out once the current event has been handled (the platform's PostMessage of
    // WM_COMMAND to this window).
    void PostCommand(UINT nID);
    // Brings every menu item, toolbar button and accelerator of nID up to date.
    void UpdateCommandUI(UINT nID);
    // The same for every command the frame shows; runs before a menu opens and when idle.
    void UpdateAllCommandUI();
    // The key-indicator panes, from the keyboard's lock states; runs with the idle update.
    void UpdateIndicators();

    // The status bar's message pane.
    virtual void SetMessageText(const QString& text);
    QString GetMessageText() const;
    void ShowIdleMessage();
    // Shown instead of the idle string while not empty: a standing note about what the views show.
    void SetIdleMessage(const QString& text);
    // A command's status-bar prompt (its string before "\n") and its tooltip (after it).
    virtual QString GetMessageString(UINT nID) const;
    static QString GetTipString(UINT nID);

    // The frame's own title; the caption is "<document title> - <title>".
    void SetTitle(const QString& title);
    const QString& GetTitle() const { return m_strTitle; }
    virtual void OnUpdateFrameTitle();

    // Resources
    BOOL LoadMenu(std::span<const MenuResource> menu);
    BOOL LoadAccelTable(std::span<const AcceleratorResource> table);
    // Buttons left to right (ID_SEPARATOR for a gap); one image per button, in order.
    BOOL LoadToolBar(std::span<const UINT> buttons, const std::vector<QImage>& images);
    // Status-bar panes: ID_SEPARATOR is the message pane, the rest are key indicators.
    BOOL SetIndicators(std::span<const UINT> indicators);

    // The one action behind the menu item and toolbar button of a command (made on first use),
    // and the accelerator actions of the table.
    QAction* GetCommandAction(UINT nID);
    const std::vector<QAction*>& GetAcceleratorActions() const { return m_accelerators; }
    // The command a menu, toolbar or accelerator action of the frame sends.
    static UINT GetActionCommand(const QAction* action);
    QToolBar* GetToolBar() const { return m_pToolBar; }
    QLabel* GetMessagePane() const { return m_pMessagePane; }

    // Files dropped on the window reach OnDropFiles.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    virtual void OnDropFiles(const QStringList& paths);

    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    BOOL HasCommandHandler(UINT nID) const override;

protected:
    virtual int OnCreate() { return 0; }
    // Creates the views; the default makes one view of the context's view class fill the frame.
    virtual BOOL OnCreateClient(CCreateContext* pContext);
    // The view of the first pane, which becomes active when the frame first shows.
    virtual CView* GetFirstPaneView() const;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Carries out the accelerator of a key press; TRUE when the table has the key.
    BOOL TranslateAccelerator(const QKeyEvent& event);
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    QPointer<CView> m_pActiveView;
    CDocument* m_pDocument = nullptr;

private:
    void OnFocusChanged(QWidget* now);
    QString IdleText() const;
    void RegisterFrameCommands();
    void ActivateNextPane(BOOL bPrev);
    void ApplyCommandState(QAction* action, const CCmdUI& state);
    void ConnectMenuPrompts(QMenu* menu);
    QAction* MakeAccelerator(const AcceleratorResource& entry);

    QString m_strTitle;
    QString m_strIdleMessage;
    std::unordered_map<UINT, QAction*> m_commandActions;
    std::vector<QAction*> m_accelerators;
    std::vector<AcceleratorResource> m_accelTable;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pMessagePane = nullptr;
    std::vector<std::pair<UINT, QLabel*>> m_indicators;
    bool m_bUpdatingCommandUI = false;
};
