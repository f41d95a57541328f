#include "AppShellFixture.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CMenu.h"
#include "framework/CSplitterWnd.h"
#include "graph/TarmioView.h"

#include <QAction>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitterHandle>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <cstdio>

TEST_F(AppShell, FileNamedOnTheCommandLineIsAddedToTheRace) {
    Start({WriteRaceFile()});
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 3);
    EXPECT_EQ(Frame().windowTitle(), "Port Haddon - TarmioView");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AppShell, RefusedCommandLineFileIsReportedAndTheProgramStillStarts) {
    const QString missing = folder.filePath("missing.zq3");
    Start({missing});
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 0);
}

void Drop(QWidget& target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = target.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
}

TEST_F(AppShell, DroppedFilesAreAddedToTheRace) {
    Start();
    Drop(Frame(), {QUrl::fromLocalFile(WriteRaceFile())});
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
}

// Names are bytes: one that is not UTF-8 still names the file that was dropped.
TEST_F(AppShell, DroppedFileWhoseNameIsNotUtf8IsAddedToTheRace) {
    Start();
    const QByteArray latin1Name = QFile::encodeName(folder.path()) + "/caf\xe9.zq3";
    ASSERT_EQ(std::rename(QFile::encodeName(WriteRaceFile()).constData(), latin1Name.constData()), 0);
    Drop(Frame(), {QUrl::fromEncoded("file://" + latin1Name.toPercentEncoding("/"))});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
    std::remove(latin1Name.constData()); // the folder's own clean-up cannot name it
}

TEST_F(AppShell, DriverListOpensAt360PixelsAndHidesWhenDraggedNarrow) {
    Start();
    EXPECT_EQ(DriverList().width(), 360);
    EXPECT_EQ(Frame().GetActiveView(), &DriverList()) << "the first pane starts active";

    QSplitterHandle* handle = Frame().GetSplitter()->handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip - QPoint(356, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(356, 0));
    EXPECT_EQ(DriverList().width(), 0);
    EXPECT_GT(Graph().width(), 360);
}

TEST_F(AppShell, ClickingAPaneMakesItTheActiveView) {
    Start();
    QTest::mouseClick(&Graph(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(Frame().GetActiveView(), &Graph());
}

TEST_F(AppShell, MenuBarHoldsTheCommandTable) {
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
}

TEST_F(AppShell, ToolBarButtonsCarryTheirImagesAndTooltips) {
    Start();
    QStringList tips;
    for (QAction* action : Frame().GetToolBar()->actions()) {
        if (action->isSeparator()) {
            tips << "|";
            continue;
        }
        tips << Frame().GetToolBar()->widgetForAction(action)->toolTip();
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(tips, QStringList({"New", "Open", "Save", "|", "Add", "|", "Cut", "|", "Zoom In Y",
                                 "Zoom Out Y", "|", "Gap Chart", "Position Chart", "Lap Time Chart"}));
    EXPECT_EQ(Frame().GetToolBar()->iconSize(), QSize(16, 15));
}

TEST_F(AppShell, IdleTimeBringsButtonStatesUpToDate) {
    Start();
    Frame().SetActiveView(&DriverList());
    Frame().UpdateAllCommandUI();
    ASSERT_FALSE(Action(ID_VIEW_ZOOMIN_Y)->isEnabled());
    Frame().SetActiveView(&Graph());
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(Action(ID_VIEW_ZOOMIN_Y)->isEnabled());
}

TEST_F(AppShell, PopupMenuShowsCommandStatesAndSendsTheChoiceAlongTheRoute) {
    Start();
    std::vector<CMenu::Item> seen;
    UINT answer = ID_OPTIONS_AUTOZOOM;
    CMenu::SetTrackHook([&](const CMenu& menu, CPoint) {
        seen = menu.GetItems();
        return answer;
    });
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_OPTIONS_AUTOZOOM, "Auto-zoom");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_FILE_SAVE, "Save");
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, -1, -1, &Frame()));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].flags & (MF_CHECKED | MF_GRAYED), MF_CHECKED);
    EXPECT_EQ(seen[2].flags & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(app->m_nOptions, 1) << "the chosen command reached the application";

    answer = ID_FILE_SAVE;
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, -1, -1, &Frame()));
    EXPECT_EQ(app->m_nOptions, 1);
}

TEST_F(AppShell, PopupMenuShownForRealSendsTheItemChosenWithTheKeyboard) {
    Start();
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_SAVE, "Save");
    menu.AppendMenu(MF_STRING, ID_OPTIONS_FLICKERFREE, "Flicker-free drawing");
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        // The greyed Save takes the highlight first, as the platform's menus do.
        QTest::keyClick(popup, Qt::Key_Down);
        EXPECT_EQ(Frame().GetMessageText(), "Save the active document");
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, 100, 100, &Frame()));
    EXPECT_EQ(app->m_nOptions, 2);
    EXPECT_EQ(Frame().GetMessageText(), "Ready");
}
