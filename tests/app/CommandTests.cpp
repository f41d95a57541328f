#include "AppShellFixture.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CSplitterWnd.h"
#include "graph/TarmioView.h"

#include <QAction>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

namespace {
enum class Target { DriverList, Graph, Document, Frame, Application, Nobody };
enum class Pane { DriverList, Graph };

// The first target on the route whose own handler list holds the command.
Target HandlerOf(CMainFrame& frame, CView& activeView, CTarmioDoc& document, UINT nID) {
    if (activeView.CCmdTarget::HasCommandHandler(nID))
        return dynamic_cast<CDriverView*>(&activeView) != nullptr ? Target::DriverList : Target::Graph;
    if (document.CCmdTarget::HasCommandHandler(nID))
        return Target::Document;
    if (frame.CCmdTarget::HasCommandHandler(nID))
        return Target::Frame;
    if (AfxGetApp()->CCmdTarget::HasCommandHandler(nID))
        return Target::Application;
    return Target::Nobody;
}

struct CommandCase {
    UINT id;
    Pane activePane;
    Target handler;
    bool enabled;
};

// The program's command table: where each command is carried out, with the pane that must be
// active for the view commands, and whether the command is available there.
const CommandCase kCommandTable[] = {
    {ID_FILE_NEW, Pane::DriverList, Target::Application, true},
    {ID_FILE_ADD, Pane::DriverList, Target::Document, true},
    {ID_FILE_ADD, Pane::Graph, Target::Document, true},
    {ID_FILE_OPEN, Pane::DriverList, Target::Application, false},
    {ID_FILE_SAVE, Pane::DriverList, Target::Nobody, false},
    {ID_FILE_SAVE_AS, Pane::Graph, Target::Nobody, false},
    {ID_FILE_PRINT, Pane::Graph, Target::Graph, true},
    {ID_FILE_PRINT_DIRECT, Pane::Graph, Target::Graph, true},
    {ID_FILE_PRINT_PREVIEW, Pane::Graph, Target::Graph, true},
    {ID_FILE_PRINT, Pane::DriverList, Target::Nobody, false},
    {ID_FILE_PRINT_SETUP, Pane::DriverList, Target::Application, true},
    {ID_FILE_MRU_FILE1, Pane::DriverList, Target::Nobody, false},
    {ID_APP_EXIT, Pane::DriverList, Target::Frame, true},
    {ID_EDIT_CUT, Pane::DriverList, Target::DriverList, false},
    {ID_EDIT_CUT, Pane::Graph, Target::Nobody, false},
    {ID_VIEW_TOOLBAR, Pane::DriverList, Target::Frame, true},
    {ID_VIEW_STATUS_BAR, Pane::Graph, Target::Frame, true},
    {ID_OPTIONS_FLICKERFREE, Pane::DriverList, Target::Application, true},
    {ID_OPTIONS_AUTOZOOM, Pane::Graph, Target::Application, true},
    {ID_APP_ABOUT, Pane::DriverList, Target::Application, true},
    {ID_VIEW_ZOOMIN_Y, Pane::Graph, Target::Graph, true},
    {ID_VIEW_ZOOMOUT_Y, Pane::Graph, Target::Graph, true},
    {ID_VIEW_ZOOMIN_Y, Pane::DriverList, Target::Nobody, false},
    {ID_VIEW_ZOOMOUT_Y, Pane::DriverList, Target::Nobody, false},
    {ID_VIEW_REFRESH, Pane::Graph, Target::Document, true},
    {ID_VIEW_BLACKBACKGROUND, Pane::DriverList, Target::DriverList, true},
    {ID_VIEW_RELATIVE, Pane::Graph, Target::Graph, true},
    {ID_VIEW_MIRRORED, Pane::Graph, Target::Graph, true},
    {ID_VIEW_RELATIVE, Pane::DriverList, Target::Nobody, false},
    {ID_NEXT_PANE, Pane::DriverList, Target::Frame, true},
    {ID_PREV_PANE, Pane::Graph, Target::Frame, true},
    {ID_VIEW_HIGHLIGHT, Pane::Graph, Target::Graph, true},
    {ID_VIEW_HIGHLIGHT, Pane::DriverList, Target::Frame, true},
    {ID_VIEW_GAPTODRIVER, Pane::DriverList, Target::Frame, false}, // no row selected
};
} // namespace

TEST_F(AppShell, EveryCommandReachesItsHandlerWithTheRightState) {
    Start();
    for (const CommandCase& command : kCommandTable) {
        CView& pane = command.activePane == Pane::DriverList ? static_cast<CView&>(DriverList())
                                                             : static_cast<CView&>(Graph());
        Frame().SetActiveView(&pane);
        SCOPED_TRACE(testing::Message() << "command " << command.id << " with pane "
                                        << static_cast<int>(command.activePane) << " active");
        EXPECT_EQ(HandlerOf(Frame(), pane, Document(), command.id), command.handler);
        CCmdUI state(command.id);
        UpdateCommandState(Frame(), state);
        EXPECT_EQ(state.m_bEnabled, command.enabled);
    }
}

TEST_F(AppShell, CutIsEnabledOnlyWhileASelectedDriverListIsActive) {
    Start({WriteRaceFile()});
    CTreeListCtrl& list = DriverList().GetDriverList();
    ASSERT_EQ(list.GetItemCount(), 3);
    CRect row;
    ASSERT_TRUE(list.GetItemRect(1, &row, LVIR_BOUNDS));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(row.CenterPoint().x, row.CenterPoint().y));
    EXPECT_EQ(Frame().GetActiveView(), &DriverList());
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(Frame().GetActiveView(), &Graph());
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(list.GetItemCount(), 3) << "Ctrl+X with the graph active does nothing";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(list.GetItemCount(), 2) << "Shift+Delete cuts the selected driver";
}

TEST_F(AppShell, ViewMenuTogglesTheBarsWithCheckMarks) {
    Start();
    const std::pair<UINT, QWidget*> bars[] = {{ID_VIEW_TOOLBAR, Frame().GetToolBar()},
                                              {ID_VIEW_STATUS_BAR, Frame().statusBar()}};
    for (const auto& [id, bar] : bars) {
        EXPECT_TRUE(Checked(id));
        Action(id)->trigger();
        EXPECT_TRUE(bar->isHidden());
        EXPECT_FALSE(Checked(id));
        Action(id)->trigger();
        EXPECT_FALSE(bar->isHidden());
        EXPECT_TRUE(Checked(id));
    }
}

TEST_F(AppShell, NewAfterAddingGivesAnEmptyUntitledRaceInTheSameWindow) {
    Start({WriteRaceFile()});
    CMainFrame* frameBefore = &Frame();
    ASSERT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(&Frame(), frameBefore);
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 0);
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 0);
    EXPECT_EQ(Frame().windowTitle(), "Untitled - TarmioView");
}

TEST_F(AppShell, PostedCommandRunsOnlyAfterTheCurrentEvent) {
    Start({WriteRaceFile()});
    Frame().PostCommand(ID_FILE_NEW);
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 0);
}

TEST_F(AppShell, DisabledCommandIsDroppedEvenWhenSentDirectly) {
    Start();
    Frame().SetActiveView(&DriverList());
    const int zoom = Graph().GetZoom();
    EXPECT_FALSE(Frame().SendCommand(ID_VIEW_ZOOMIN_Y));
    EXPECT_EQ(Graph().GetZoom(), zoom);
}

TEST_F(AppShell, PrintSetupAsksForThePrinterAndExitClosesTheWindow) {
    Start();
    EXPECT_TRUE(Frame().SendCommand(ID_FILE_PRINT_SETUP));
    EXPECT_EQ(prompter.printSetupDialogs, 1);
    EXPECT_EQ(prompter.printDialogs, 0);
    EXPECT_TRUE(Frame().SendCommand(ID_APP_EXIT));
    EXPECT_FALSE(Frame().isVisible());
}
