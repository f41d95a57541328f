#pragma once

#include "framework/Afx.h"

#include <functional>
#include <unordered_map>

// The state of one command's user-interface items (menu item, toolbar button, accelerator),
// handed to command-state handlers.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}

    void Enable(BOOL bOn = TRUE) {
        m_bEnabled = bOn != FALSE;
        m_bEnableChanged = true;
    }
    void SetCheck(int nCheck = 1) {
        m_nCheck = nCheck;
        m_bCheckChanged = true;
    }
    // A check shown as the dot of one choice among several.
    void SetRadio(BOOL bOn = TRUE) {
        SetCheck(bOn ? 1 : 0);
        m_bRadio = true;
    }

    UINT m_nID;
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    int m_nCheck = 0;
    bool m_bCheckChanged = false;
    bool m_bRadio = false;
    // Set when the route is only asked whether a command handler for m_nID is on it.
    bool m_bAskingForHandler = false;
};

// A receiver of commands. Handlers are registered in the constructor of the receiving class,
// the way a message map lists them; OnCmdMsg is overridden to pass commands along a route.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // pCmdUI null: carry out the command. Otherwise: update its state. True when handled here.
    virtual BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI);
    // Whether a command handler for nID is on this target's route.
    BOOL HasCommandHandler(UINT nID);

protected:
    void OnCommand(UINT nID, std::function<void()> handler);
    void OnUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler);

    // Only this target's own handlers, without any route.
    BOOL HandleOwnCommand(UINT nID, CCmdUI* pCmdUI);

private:
    std::unordered_map<UINT, std::function<void()>> m_commands;
    std::unordered_map<UINT, std::function<void(CCmdUI*)>> m_updates;
};

// The command whose handler is running (the innermost one when handlers nest); 0 outside any.
// Handlers shared by several commands tell them apart by it.
UINT AfxGetCurrentCommand();

// Runs the state update of one command along a route: an update handler decides; without one a
// command handler enables it; with neither it is disabled.
void UpdateCommandState(CCmdTarget& route, CCmdUI& cmdUI);
