// The main window as the command table builds it, what each command does, and the About box.
#include "AppShellFixture.h"
#include "app/AboutDlg.h"
#include "app/WindowPlaces.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
// The items of the menu a pane opens for the menu key, read while it shows.
QStringList ContextMenuItems(QWidget& pane) {
    const auto items = std::make_shared<QStringList>();
    QTimer::singleShot(0, [items] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* item : menu->actions())
                *items << (item->isSeparator() ? QString("-") : item->text());
            menu->close();
        }
    });
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), pane.mapToGlobal(QPoint()));
    QApplication::sendEvent(&pane, &request);
    return *items;
}
} // namespace

// Whether each command is available with this pane active. The real-input tier presses the keys
// of commands that must do nothing in a pane.
TEST_F(AppShell, CommandsAreAvailableOnlyWhereTheActivePaneHandlesThem) {
    const std::tuple<UINT, bool, bool> cases[] = {
        // command, with the chart rather than the list active, enabled
        {ID_FILE_NEW, false, true},
        {ID_FILE_OPEN, true, false}, // races enter only through Add
        {ID_FILE_ADD, false, true},
        {ID_FILE_PRINT, true, true},
        {ID_EDIT_CUT, false, false}, // no row selected
        {ID_VIEW_BLACKBACKGROUND, false, true},
        {ID_VIEW_RELATIVE, true, true},
        {ID_VIEW_HIGHLIGHT, false, true},
        {ID_VIEW_GAPTODRIVER, false, false}, // no row selected
    };
    Start();
    for (const auto& [id, inChart, enabled] : cases) {
        Frame().SetActiveView(inChart ? static_cast<CView*>(&Graph()) : &DriverList());
        CCmdUI state(id);
        UpdateCommandState(Frame(), state);
        EXPECT_EQ(state.m_bEnabled, enabled)
            << "command " << id << (inChart ? " in the chart" : " in the list");
    }
}

TEST_F(AppShell, ToolBarButtonsCarryTheirImagesAndTips) {
    Start();
    for (QAction* action : Frame().GetToolBar()->actions())
        EXPECT_TRUE(action->isSeparator() ||
                    (!action->icon().isNull() &&
                     !Frame().GetToolBar()->widgetForAction(action)->toolTip().isEmpty()));
    EXPECT_EQ(Frame().GetToolBar()->iconSize(), QSize(16, 15));
}

// Reload Files reads the race again and keeps what the user set up in both panes.
TEST_F(AppShell, ReloadFilesKeepsSelectionReferenceOrientationAndZoom) {
    Start({WriteRaceFile()});
    Frame().SendCommand(ID_OPTIONS_AUTOZOOM); // off: zoom and scroll are the user's
    CTreeListCtrl& list = DriverList().GetDriverList();
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Graph().SetReferenceDriver(1);
    Graph().OnViewMirrored();
    Graph().OnViewZoomInY();
    Graph().OnViewZoomInY();
    const lapgraph::ViewState before = Graph().GetViewState();

    Frame().SendCommand(ID_FILE_RELOAD);
    ASSERT_EQ(Document().GetSelectedDrivers(), std::vector<int>{1});
    EXPECT_EQ(list.GetNextSelectedItem(-1), 1);
    EXPECT_EQ(list.GetNextSelectedItem(1), -1);
    EXPECT_EQ(Graph().GetReferenceDriver(), 1);
    const lapgraph::ViewState after = Graph().GetViewState();
    EXPECT_EQ(after.zoom, before.zoom);
    EXPECT_EQ(after.scrollPos, before.scrollPos);
    EXPECT_FALSE(after.mirrored);
    EXPECT_TRUE(prompter.messages.empty());
}

// Each pane's menu names its two-state options as they stand; the chart's shows their keys.
TEST_F(AppShell, ContextMenusNameEachOptionAsItStands) {
    Start({WriteRaceFile()});
    EXPECT_EQ(ContextMenuItems(Graph()), QStringList({"Relative\tCtrl+R", "Origin at bottom\tCtrl+M"}));
    EXPECT_EQ(ContextMenuItems(DriverList().GetDriverList()),
              QStringList({"Cut", "-", "Default Background"}));
    Graph().OnViewRelative();
    Graph().OnViewMirrored();
    DriverList().OnCmdMsg(ID_VIEW_BLACKBACKGROUND, nullptr);
    EXPECT_EQ(ContextMenuItems(Graph()), QStringList({"Absolute\tCtrl+R", "Origin at top\tCtrl+M"}));
    EXPECT_EQ(ContextMenuItems(DriverList().GetDriverList()), QStringList({"Cut", "-", "Black Background"}));
}

// Among several files the box names the one refused; a file added alone needs no name.
TEST_F(AppShell, StartUpAddsTheFilesNamedAndNamesTheRefusedOnesOnlyAmongSeveral) {
    Start({folder.filePath("gone.ra3"), WriteRaceFile(), folder.filePath("lost.zq3")});
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 3);
    EXPECT_EQ(Frame().windowTitle(), "Port Haddon - TarmioView");
    Document().AddFiles({folder.filePath("alone.zq3")});
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(prompter.messageSubjects, QStringList({"gone.ra3", "lost.zq3", ""}));
    EXPECT_EQ(prompter.messages[0].text, folder.filePath("gone.ra3").toStdString() + " was not found.");
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

TEST_F(AppShell, OptionTogglesChangeOnlyTheirOwnBitAndAreStoredAtExit) {
    QSettings("VAZ", "TarmioView").setValue("Settings/GeneralOpts", 7);
    Start();
    for (const auto& [command, options] :
         {std::pair{ID_OPTIONS_FLICKERFREE, 6}, {ID_OPTIONS_AUTOZOOM, 4}, {ID_OPTIONS_FLICKERFREE, 5}}) {
        EXPECT_TRUE(Frame().SendCommand(command));
        EXPECT_EQ(app->m_nOptions, options);
        EXPECT_EQ(Checked(ID_OPTIONS_FLICKERFREE), (options & 1) != 0);
        EXPECT_EQ(Checked(ID_OPTIONS_AUTOZOOM), (options & 2) != 0);
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
    // The last deletion posts the New; it waits for the key's event to end.
    EXPECT_EQ(Frame().windowTitle(), "Port Haddon - TarmioView");
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().windowTitle(), "Untitled - TarmioView");
    const QImage after = Graph().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(after.constBits());
    for (const COLORREF colour : {kPalette[0], kPalette[1], kPalette[2]}) {
        const QRgb curve = qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
        EXPECT_EQ(std::count(pixels, pixels + after.width() * after.height(), curve), 0)
            << "a curve is still drawn";
    }
}

// The program's own version strings; a missing resource is reported and the About box never
// shows; data without a translation is refused.
TEST_F(AppShell, VersionResourceIsReadOrReportedMissingOrRefusedWithoutATranslation) {
    CVersionInfo own;
    ASSERT_TRUE(own.Load(nullptr));
    EXPECT_EQ(own.GetProductName() + " " + own.GetFileVersion(), "TarmioView 3.00");
    CVersionInfo::SetResourceSource([](const QString&) { return std::nullopt; });
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDABORT);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0],
              (ScriptedPrompter::Message{"Error reading version resource", MB_OK | MB_ICONSTOP}));
    CVersionInfo::SetResourceSource([](const QString&) { return QByteArray(R"({"StringFileInfo": {}})"); });
    CVersionInfo refused;
    EXPECT_FALSE(refused.Load(nullptr));
    EXPECT_EQ(refused.GetProductName(), "");
}

// Desktop fonts run taller than dialog units assume: every line of the About box shows whole.
TEST_F(AppShell, AboutBoxShowsEveryLineWhole) {
    CAboutDlg about;
    QTimer::singleShot(0, &about, [&about] {
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
            EXPECT_GE(label->height(), label->sizeHint().height()) << label->text().toStdString();
        }
        const auto* description = about.findChild<QPlainTextEdit*>();
        ASSERT_NE(description, nullptr);
        EXPECT_TRUE(about.rect().contains(description->geometry()));
        // The edit settles its scroll range over a few events after showing.
        EXPECT_TRUE(
            QTest::qWaitFor([description] { return description->verticalScrollBar()->maximum() == 0; }, 2000))
            << "the description is cut";
        about.EndDialog(IDOK);
    });
    EXPECT_EQ(about.DoModal(), IDOK);
}

// The chart alone chooses drivers: a click on a curve selects that driver's row, Ctrl+click adds
// or removes one, and Gap to Selected Driver then measures against the first of them.
TEST_F(AppShell, ClickingACurveSelectsItsDriversRow) {
    Start({WriteRaceFile()});
    Graph().resize(600, 400);
    CTreeListCtrl& list = DriverList().GetDriverList();
    const auto selectedRows = [&list] {
        std::vector<int> rows;
        for (int row = list.GetNextSelectedItem(-1); row != -1; row = list.GetNextSelectedItem(row))
            rows.push_back(row);
        return rows;
    };
    const auto click = [this](int driver, Qt::KeyboardModifiers modifiers) {
        const std::optional<CPoint> point = Graph().LapPoint(driver, 3);
        ASSERT_TRUE(point.has_value()) << driver;
        QTest::mouseClick(&Graph(), Qt::LeftButton, modifiers, QPoint(point->x, point->y));
    };
    const struct {
        int driver;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> rows;
    } steps[] = {
        {2, Qt::NoModifier, {2}},
        {0, Qt::ControlModifier, {0, 2}},
        {2, Qt::ControlModifier, {0}},
        {1, Qt::NoModifier, {1}},
    };
    for (const auto& step : steps) {
        click(step.driver, step.modifiers);
        EXPECT_EQ(selectedRows(), step.rows) << step.driver;
        EXPECT_EQ(Document().GetSelectedDrivers(), step.rows) << step.driver;
    }
    EXPECT_EQ(list.currentIndex().row(), 1);
    Frame().SendCommand(ID_VIEW_GAPTODRIVER);
    EXPECT_EQ(Graph().GetReferenceDriver(), 1);
    // A click beside every curve leaves the selection alone.
    QTest::mouseClick(&Graph(), Qt::LeftButton, Qt::NoModifier, QPoint(Graph().width() - 30, 5));
    EXPECT_EQ(selectedRows(), std::vector<int>({1}));
}

// The main window comes back where the last run left it, unless no screen shows that place any
// more; the list keeps its width and background.
TEST_F(AppShell, WindowPlaceListWidthAndBackgroundComeBackAtStart) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    Start();
    const QRect place(screen.left() + 40, screen.top() + 30, 700, 500);
    Frame().setGeometry(place);
    Frame().GetSplitter()->setSizes({250, 450});
    const int listWidth = Frame().GetSplitter()->sizes().front();
    ASSERT_NE(listWidth, 360); // the designed opening width
    DriverList().OnCmdMsg(ID_VIEW_BLACKBACKGROUND, nullptr);
    Exit();
    Start();
    EXPECT_EQ(Frame().geometry(), place);
    EXPECT_EQ(Frame().GetSplitter()->sizes().front(), listWidth);
    EXPECT_FALSE(DriverList().IsBlackBackground());
    // Maximised, it opens maximised and keeps the place to go back to.
    Frame().showMaximized();
    Exit();
    Start();
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_EQ(Frame().normalGeometry(), place);
    Exit();

    QSettings("VAZ", "TarmioView").setValue("Settings/WindowLeft", screen.right() + 5000);
    Start();
    EXPECT_TRUE(Frame().geometry().intersects(screen)) << "a place off every screen is ignored";
    Exit();

    // Sizes no screen holds are cut down to the screen; the list stays narrower than the window.
    QSettings settings("VAZ", "TarmioView");
    settings.setValue("Settings/WindowLeft", screen.left());
    settings.setValue("Settings/WindowWidth", 2147483647);
    settings.setValue("Settings/ListWidth", 2147483647);
    settings.sync();
    Start();
    EXPECT_LE(Frame().width(), screen.width());
    EXPECT_LT(Frame().GetSplitter()->sizes().front(), Frame().width());
}

TEST(WindowPlaces, SummaryOpensBesideTheWindowWithRoomAndAStoredPlaceOnlyWhereAScreenShowsIt) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize summary(720, 560);
    // Room on the right; on the left; a narrower window where the room is less but still of use.
    EXPECT_EQ(PlaceBeside(QRect(100, 50, 1000, 700), summary, screen), QRect(1100, 50, 720, 560));
    EXPECT_EQ(PlaceBeside(QRect(900, 50, 1000, 700), summary, screen), QRect(180, 50, 720, 560));
    EXPECT_EQ(PlaceBeside(QRect(0, 50, 1500, 700), summary, screen), QRect(1500, 50, 420, 560));
    // No useful room on either side: over the main window's left edge, the driver list's side.
    EXPECT_EQ(PlaceBeside(QRect(100, 50, 1700, 700), summary, screen), QRect(100, 50, 720, 560));
    // Kept on the screen vertically.
    EXPECT_EQ(PlaceBeside(QRect(100, 700, 1000, 300), summary, screen), QRect(1100, 520, 720, 560));
    // A stored place counts only where a screen shows its corner, and no larger than that screen.
    const std::vector<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(ShownPlace(QRect(2000, 100, 800, 600), screens), QRect(2000, 100, 800, 600));
    EXPECT_EQ(ShownPlace(QRect(-15, -15, 800, 600), screens), QRect(-15, -15, 800, 600));
    EXPECT_EQ(ShownPlace(QRect(-30, 100, 800, 600), screens), std::nullopt); // 10 pixels of the corner
    EXPECT_EQ(ShownPlace(QRect(3190, 100, 800, 600), screens), std::nullopt);
    EXPECT_EQ(ShownPlace(QRect(100, 5000, 800, 600), screens), std::nullopt);
    EXPECT_EQ(ShownPlace(QRect(2000, 10, 4000, 4000), screens), QRect(2000, 10, 1280, 1024));
}
