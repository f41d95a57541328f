#include "framework/CCmdTarget.h"

namespace {
UINT g_currentCommand = 0;

class CurrentCommandScope {
public:
    explicit CurrentCommandScope(UINT nID) : m_previous(g_currentCommand) { g_currentCommand = nID; }
    ~CurrentCommandScope() { g_currentCommand = m_previous; }
    CurrentCommandScope(const CurrentCommandScope&) = delete;
    CurrentCommandScope& operator=(const CurrentCommandScope&) = delete;

private:
    UINT m_previous;
};
} // namespace

UINT AfxGetCurrentCommand() {
    return g_currentCommand;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    return HandleOwnCommand(nID, pCmdUI);
}

// The question travels the same route as the command would.
BOOL CCmdTarget::HasCommandHandler(UINT nID) {
    CCmdUI question(nID);
    question.m_bAskingForHandler = true;
    return OnCmdMsg(nID, &question);
}

void CCmdTarget::OnCommand(UINT nID, std::function<void()> handler) {
    m_commands[nID] = std::move(handler);
}

void CCmdTarget::OnUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler) {
    m_updates[nID] = std::move(handler);
}

BOOL CCmdTarget::HandleOwnCommand(UINT nID, CCmdUI* pCmdUI) {
    if (pCmdUI == nullptr) {
        const auto command = m_commands.find(nID);
        if (command == m_commands.end())
            return FALSE;
        const CurrentCommandScope scope(nID);
        command->second();
        return TRUE;
    }
    if (pCmdUI->m_bAskingForHandler)
        return m_commands.contains(nID);
    const auto update = m_updates.find(nID);
    if (update == m_updates.end())
        return FALSE;
    update->second(pCmdUI);
    return TRUE;
}

void UpdateCommandState(CCmdTarget& route, CCmdUI& cmdUI) {
    route.OnCmdMsg(cmdUI.m_nID, &cmdUI);
    // A handler that only sets a check mark leaves enabling to the presence of a command handler.
    if (!cmdUI.m_bEnableChanged)
        cmdUI.Enable(route.HasCommandHandler(cmdUI.m_nID));
}
