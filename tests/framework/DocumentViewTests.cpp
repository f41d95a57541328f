// Document and views, the command route, and the stored settings.
#include "TestViews.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"

#include <QSettings>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST(DocumentViews, UpdateReachesEveryLiveViewButTheSender) {
    CDocument document;
    RecordingView views[3];
    for (RecordingView& view : views)
        view.Create(nullptr, &document);
    document.UpdateAllViews(&views[1], 7);
    document.UpdateAllViews(nullptr);
    for (int i : {0, 2}) {
        ASSERT_EQ(views[i].updates.size(), 2u) << "view " << i;
        EXPECT_EQ(views[i].updates[0].sender, &views[1]);
        EXPECT_EQ(views[i].updates[0].hint, 7);
    }
    EXPECT_EQ(views[1].updates.size(), 1u) << "the sender only hears the update without sender";

    // A view destroyed by an earlier view's update is skipped.
    auto doomed = std::make_unique<RecordingView>();
    doomed->Create(nullptr, &document);
    RecordingView last;
    last.Create(nullptr, &document);
    views[2].duringUpdate = [&] { doomed.reset(); };
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(document.GetViews().size(), 4u);
    EXPECT_EQ(last.updates.size(), 1u);
}

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
        frame.SetActiveView(&view);
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

// Handlers on the targets ("vdfa": view, document, frame, application) and the one that runs.
TEST(CommandRouting, FirstTargetOnTheRouteRunsTheCommand) {
    for (const auto& [handlers, runs] : {std::pair<std::string, std::string>{"vdfa", "v"},
                                         {"dfa", "d"},
                                         {"fa", "f"},
                                         {"a", "a"},
                                         {"", ""}}) {
        Route route(handlers);
        const BOOL handled = route.frame.SendCommand(kCommand);
        EXPECT_EQ(route.ran, runs) << handlers;
        EXPECT_EQ(handled != FALSE, !runs.empty()) << handlers;
    }
}

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

// How a command's menu item ends up: the update handler decides, else a command handler enables.
TEST(CommandState, UpdateHandlerDecidesElseCommandHandlerEnables) {
    const struct {
        const char* name;
        bool commandHandler;
        int updateHandler; // 0 none, 1 enables, 2 disables, 3 only checks
        bool enabled;
        int check;
    } cases[] = {
        {"no handler disables", false, 0, false, 0},
        {"command handler enables", true, 0, true, 0},
        {"update handler disables despite the command", true, 2, false, 0},
        {"check only leaves enabling to the command", true, 3, true, 1},
        {"check only without a command is disabled", false, 3, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
}

// The tests' own settings live in a private folder (see the Qt test main). Whole-program tests
// cover the stored options; this guards what they cannot see: sections, signs, the full range,
// and numbers of more than 32 bits in a settings file anyone can edit.
TEST(Profile, ValuesOutliveTheApplicationAndOnly32BitNumbersAreRead) {
    {
        CWinApp app("ProfileTest");
        app.SetRegistryKey("TarmioTests");
        for (int value : {-7, 2147483647}) {
            EXPECT_TRUE(app.WriteProfileInt("Settings", "GeneralOpts", value));
            EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), value);
        }
    }
    CWinApp app("ProfileTest");
    app.SetRegistryKey("TarmioTests");
    EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), 2147483647);
    EXPECT_EQ(app.GetProfileInt("Other", "GeneralOpts", 3), 3);
    for (const char* stored :
         {"1099511627776", "2147483648", "-2147483649", "99999999999999999999999", "3x"}) {
        QSettings(app.m_pszRegistryKey, app.m_pszAppName).setValue("Settings/GeneralOpts", QString(stored));
        EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), 3) << stored;
    }
    QSettings(app.m_pszRegistryKey, app.m_pszAppName)
        .setValue("Settings/GeneralOpts", QString("-2147483648"));
    EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), -2147483647 - 1);
}

} // namespace
