#pragma once

#include "framework/CCmdTarget.h"

#include <QMainWindow>

class CView;

// The main window: menu, toolbar, status bar and the views; routes every command to the active
// view, then the document, then itself, then the application.
class CFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CFrameWnd(QWidget* parent = nullptr);
    ~CFrameWnd() override;

    CView* GetActiveView() const { return m_pActiveView; }
    // Makes pView the active view, telling the old and the new one (OnActivateView).
    void SetActiveView(CView* pView, BOOL bNotify = TRUE);

    // Carries out a command along the route now; TRUE when some target handled it.
    BOOL SendCommand(UINT nID);
    // Carries it out once the current event has been handled (the platform's PostMessage of
    // WM_COMMAND to this window).
    void PostCommand(UINT nID);
    // Brings every menu item, toolbar button and accelerator of nID up to date.
    void UpdateCommandUI(UINT nID);

    // The status bar's message pane.
    virtual void SetMessageText(const QString& text);

    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    BOOL HasCommandHandler(UINT nID) const override;

protected:
    CView* m_pActiveView = nullptr;
};
