// The main window as the command table builds it, and the route each command takes.
#include "AppShellFixture.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "graph/TarmioView.h"

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <cstdio>

namespace {
enum class Target { DriverList, Graph, Document, Frame, Application, Nobody };
enum class Pane { DriverList, Graph };

// The first target on the route whose own handler list holds the command.
Target HandlerOf(CMainFrame& frame, CView& activeView, CTarmioDoc& document, UINT nID) {
    if (activeView.HasOwnCommandHandler(nID))
        return dynamic_cast<CDriverView*>(&activeView) != nullptr ? Target::DriverList : Target::Graph;
    if (document.HasOwnCommandHandler(nID))
        return Target::Document;
    if (frame.HasOwnCommandHandler(nID))
        return Target::Frame;
    if (AfxGetApp()->HasOwnCommandHandler(nID))
        return Target::Application;
    return Target::Nobody;
}

struct CommandCase {
    UINT id;
    Pane activePane;
    Target handler;
    bool enabled;
};

// Where each command is carried out with this pane active, and whether it is available there.
const CommandCase kCommandCases[] = {
    {ID_FILE_NEW, Pane::DriverList, Target::Application, true},
    {ID_FILE_ADD, Pane::DriverList, Target::Document, true},
    {ID_FILE_OPEN, Pane::DriverList, Target::Application, false},
    {ID_FILE_SAVE, Pane::DriverList, Target::Nobody, false},
    {ID_FILE_PRINT, Pane::Graph, Target::Graph, true},
    {ID_FILE_PRINT, Pane::DriverList, Target::Nobody, false},
    {ID_APP_EXIT, Pane::DriverList, Target::Frame, true},
    {ID_EDIT_CUT, Pane::DriverList, Target::DriverList, false},
    {ID_EDIT_CUT, Pane::Graph, Target::Nobody, false},
    {ID_VIEW_TOOLBAR, Pane::DriverList, Target::Frame, true},
    {ID_OPTIONS_FLICKERFREE, Pane::DriverList, Target::Application, true},
    {ID_VIEW_ZOOMOUT_Y, Pane::DriverList, Target::Nobody, false},
    {ID_VIEW_REFRESH, Pane::Graph, Target::Document, true},
    {ID_VIEW_BLACKBACKGROUND, Pane::DriverList, Target::DriverList, true},
    {ID_VIEW_RELATIVE, Pane::Graph, Target::Graph, true},
    {ID_VIEW_RELATIVE, Pane::DriverList, Target::Nobody, false},
    {ID_NEXT_PANE, Pane::DriverList, Target::Frame, true},
    {ID_VIEW_HIGHLIGHT, Pane::Graph, Target::Graph, true},
    {ID_VIEW_HIGHLIGHT, Pane::DriverList, Target::Frame, true},
    {ID_VIEW_GAPTODRIVER, Pane::DriverList, Target::Frame, false}, // no row selected
};
} // namespace

TEST_F(AppShell, EveryCommandReachesItsHandlerWithTheRightState) {
    Start();
    for (const CommandCase& command : kCommandCases) {
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

TEST_F(AppShell, MenuBarAndToolBarShowTheCommandTable) {
    Start();
    const QString expected =
        "&File|&New\tCtrl+N|Add..\tCtrl+A|Export...\tCtrl+E|&Open...\tCtrl+O|&Save\tCtrl+S|"
        "Save &As...|-|&Print...\tCtrl+P|Print Pre&view|P&rint Setup...|-|Recent File|-|"
        "E&xit|&Edit|Cu&t\tCtrl+X|&View|&Toolbar|&Status Bar|-|Highlight Selected Drivers|"
        "Gap to Selected Driver\tCtrl+G|-|Gap Chart\tCtrl+1|"
        "Position Chart\tCtrl+2|Lap Time Chart\tCtrl+3|-|Race Summary...|"
        "&Options|Flicker-free drawing|Auto-zoom|&Help|&About Tarmio...";
    QStringList shown;
    for (QAction* popup : Frame().menuBar()->actions()) {
        shown << popup->text();
        for (QAction* item : popup->menu()->actions())
            shown << (item->isSeparator() ? QString("-") : item->text());
    }
    EXPECT_EQ(shown.join("|"), expected);

    QStringList tips;
    for (QAction* action : Frame().GetToolBar()->actions()) {
        tips << (action->isSeparator() ? "|" : Frame().GetToolBar()->widgetForAction(action)->toolTip());
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull());
    }
    EXPECT_EQ(tips, QStringList({"New", "Open", "Save", "|", "Add", "|", "Cut", "|", "Zoom In Y",
                                 "Zoom Out Y", "|", "Gap Chart", "Position Chart", "Lap Time Chart"}));
    EXPECT_EQ(Frame().GetToolBar()->iconSize(), QSize(16, 15));
}

TEST_F(AppShell, StartUpAddsTheFilesNamedAndReportsTheRefusedOnes) {
    Start({WriteRaceFile(), folder.filePath("missing.zq3")});
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 3);
    EXPECT_EQ(Frame().windowTitle(), "Port Haddon - TarmioView");
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(Frame().isVisible());
}

// Names are bytes: one that is not UTF-8 still names the file that was dropped.
TEST_F(AppShell, DroppedFileIsAddedToTheRaceWhateverTheBytesOfItsName) {
    Start();
    const QByteArray latin1Name = QFile::encodeName(folder.path()) + "/caf\xe9.zq3";
    ASSERT_EQ(std::rename(QFile::encodeName(WriteRaceFile()).constData(), latin1Name.constData()), 0);
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file://" + latin1Name.toPercentEncoding("/"))});
    const QPoint centre = Frame().rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Frame(), &drop);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
    std::remove(latin1Name.constData()); // the folder's own clean-up cannot name it
}

TEST_F(AppShell, PostedCommandWaitsForTheCurrentEventAndDisabledOnesAreDropped) {
    Start({WriteRaceFile()});
    Frame().SetActiveView(&DriverList());
    const int zoom = Graph().GetZoom();
    EXPECT_FALSE(Frame().SendCommand(ID_VIEW_ZOOMIN_Y));
    EXPECT_EQ(Graph().GetZoom(), zoom);
    Frame().PostCommand(ID_FILE_NEW);
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 0);
}

TEST_F(AppShell, OptionTogglesChangeOnlyTheirOwnBitAndAreStoredAtExit) {
    QSettings("VAZ", "TarmioView").setValue("Settings/GeneralOpts", 7);
    Start();
    struct Step {
        UINT command;
        int options;
    };
    const Step steps[] = {{ID_OPTIONS_FLICKERFREE, 6}, {ID_OPTIONS_AUTOZOOM, 4}, {ID_OPTIONS_FLICKERFREE, 5}};
    for (const Step& step : steps) {
        EXPECT_TRUE(Frame().SendCommand(step.command));
        EXPECT_EQ(app->m_nOptions, step.options);
        EXPECT_EQ(Checked(ID_OPTIONS_FLICKERFREE), (step.options & 1) != 0);
        EXPECT_EQ(Checked(ID_OPTIONS_AUTOZOOM), (step.options & 2) != 0);
    }
    Exit();
    EXPECT_EQ(QSettings("VAZ", "TarmioView").value("Settings/GeneralOpts").toInt(), 5);
}

TEST_F(AppShell, GraphToggleRevertsToTheStoredValueAtTheNextNew) {
    QSettings("VAZ", "TarmioView").setValue("Settings/GraphMirrored", 1);
    Start();
    Frame().SetActiveView(&Graph());
    Frame().SendCommand(ID_VIEW_MIRRORED);
    Frame().SendCommand(ID_VIEW_RELATIVE);
    ASSERT_FALSE(Graph().IsMirrored());
    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_TRUE(Graph().IsMirrored());
    // Nothing stored: the toggled value is its own default and survives the New.
    EXPECT_FALSE(Graph().IsRelative());
}

TEST_F(AppShell, DeletingEveryDriverStartsANewRaceInBothPanes) {
    Start({WriteRaceFile()});
    CListCtrl& list = DriverList().GetDriverList();
    list.SetFocus();
    list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    QTest::keyClick(list.viewport(), Qt::Key_Delete);
    QCoreApplication::processEvents(); // the New that the last deletion posts
    EXPECT_EQ(Document().GetRaceData()->trackId, kNoTrackYet);
    EXPECT_EQ(Frame().windowTitle(), "Untitled - TarmioView");
    const QImage after = Graph().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            for (int colour = 0; colour < 3; ++colour) {
                ASSERT_NE(after.pixel(x, y), qRgb(GetRValue(kPalette[colour]), GetGValue(kPalette[colour]),
                                                  GetBValue(kPalette[colour])))
                    << "curve of driver " << colour << " still drawn";
            }
        }
    }
}
