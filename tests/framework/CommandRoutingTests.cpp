#include "TestViews.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr UINT kCommand = 40001;

template <class Target> class Open : public Target {
public:
    using CCmdTarget::OnCommand;
    using Target::Target;
};

// View, document, frame and application; each letter of handlers ("vdfa") gives that target a
// handler for kCommand that records the letter when it runs.
struct Route {
    Open<CWinApp> app{"RoutingTest"};
    Open<CDocument> document;
    Open<CFrameWnd> frame;
    RecordingView view;
    std::string ran;

    explicit Route(const std::string& handlers) {
        view.Create(nullptr, &document);
        frame.SetActiveView(&view, FALSE);
        for (char where : handlers) {
            const auto record = [this, where] { ran += where; };
            if (where == 'v')
                view.OnCommand(kCommand, record);
            else if (where == 'd')
                document.OnCommand(kCommand, record);
            else if (where == 'f')
                frame.OnCommand(kCommand, record);
            else
                app.OnCommand(kCommand, record);
        }
    }
};

class CommandRouting : public ::testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(CommandRouting, FirstTargetOnTheRouteRunsTheCommand) {
    Route route(GetParam().first);
    const BOOL handled = route.frame.SendCommand(kCommand);
    EXPECT_EQ(route.ran, GetParam().second);
    EXPECT_EQ(handled != FALSE, !GetParam().second.empty());
}

INSTANTIATE_TEST_SUITE_P(ViewDocumentFrameApp, CommandRouting,
                         ::testing::Values(std::pair{"vdfa", "v"}, std::pair{"dfa", "d"},
                                           std::pair{"fa", "f"}, std::pair{"a", "a"}, std::pair{"", ""}));

TEST(CommandRouting, HandlerSeesWhichCommandItIsRunning) {
    RecordingView view;
    std::vector<UINT> seen;
    for (UINT id : {kCommand, kCommand + 1})
        view.OnCommand(id, [&] { seen.push_back(AfxGetCurrentCommand()); });
    view.OnCmdMsg(kCommand + 1, nullptr);
    view.OnCmdMsg(kCommand, nullptr);
    EXPECT_EQ(seen, (std::vector<UINT>{kCommand + 1, kCommand}));
    EXPECT_EQ(AfxGetCurrentCommand(), 0u);
}

// How a command's menu item ends up: what the route offers, and the state it gets.
struct StateCase {
    const char* name;
    bool commandHandler;
    int updateHandler; // 0 none, 1 enables, 2 disables, 3 only checks
    bool enabled;
    int check;
};

class CommandState : public ::testing::TestWithParam<StateCase> {};

TEST_P(CommandState, UpdateHandlerDecidesElseCommandHandlerEnables) {
    const StateCase& c = GetParam();
    Route route(c.commandHandler ? "d" : "");
    if (c.updateHandler != 0) {
        route.view.OnUpdateCommandUI(kCommand, [&c](CCmdUI* pCmdUI) {
            if (c.updateHandler == 3)
                pCmdUI->SetCheck(1);
            else
                pCmdUI->Enable(c.updateHandler == 1);
        });
    }
    CCmdUI state(kCommand);
    UpdateCommandState(route.frame, state);
    EXPECT_EQ(state.m_bEnabled, c.enabled);
    EXPECT_EQ(state.m_nCheck, c.check);
    EXPECT_EQ(route.frame.SendCommand(kCommand) != FALSE, c.enabled && c.commandHandler)
        << "a disabled command is dropped";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandState,
    ::testing::Values(StateCase{"NoHandlerDisables", false, 0, false, 0},
                      StateCase{"CommandHandlerEnables", true, 0, true, 0},
                      StateCase{"UpdateHandlerDisablesDespiteCommand", true, 2, false, 0},
                      StateCase{"CheckOnlyLeavesEnablingToCommand", true, 3, true, 1},
                      StateCase{"CheckOnlyWithoutCommandIsDisabled", false, 3, false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
