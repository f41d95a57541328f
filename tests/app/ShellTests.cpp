// The main window as the command table builds it, what each command does, and the About box.
#include "AppShellFixture.h"
#include "app/AboutDlg.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
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

TEST_F(AppShell, MenuBarAndToolBarShowTheCommandTable) {
    Start();
    const QString expected =
        "&File|&New\tCtrl+N|Add..\tCtrl+A|Reload "
        "Files\tCtrl+F5|Export...\tCtrl+E|&Open...\tCtrl+O|&Save\tCtrl+S|"
        "Save &As...|-|&Print...\tCtrl+P|Print Pre&view|P&rint Setup...|-|Recent File|-|"
        "E&xit|&Edit|Cu&t\tCtrl+X|&View|&Toolbar|&Status Bar|-|Highlight Selected Drivers|"
        "Gap to Selected Driver\tCtrl+G|-|Gap Chart\tCtrl+1|"
        "Position Chart\tCtrl+2|Lap Time Chart\tCtrl+3|-|Race Summary...|Follow Files|"
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
                                 "Zoom Out Y", "|", "Gap Chart", "Position Chart", "Lap Time Chart", "|",
                                 "Reload Files", "Follow Files"}));
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
    const DriverArray& drivers = *Document().GetRaceData()->drivers;
    const std::string selectedName = drivers.GetAt(1)->name;
    const lapgraph::ViewState before = Graph().GetViewState();

    Frame().SendCommand(ID_FILE_RELOAD);
    const DriverArray& reloaded = *Document().GetRaceData()->drivers;
    ASSERT_EQ(Document().GetSelectedDrivers(), std::vector<int>{1});
    EXPECT_EQ(reloaded.GetAt(1)->name, selectedName);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetNextItem(1, LVNI_SELECTED), -1);
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
    Frame().SetActiveView(&DriverList());
    Frame().SendCommand(ID_VIEW_BLACKBACKGROUND);
    EXPECT_EQ(ContextMenuItems(Graph()), QStringList({"Absolute\tCtrl+R", "Origin at top\tCtrl+M"}));
    EXPECT_EQ(ContextMenuItems(DriverList().GetDriverList()), QStringList({"Cut", "-", "Black Background"}));
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

// That a disabled command is dropped is the framework's, and the real-input tier presses keys of
// commands disabled in a pane.
TEST_F(AppShell, PostedCommandWaitsForTheCurrentEvent) {
    Start({WriteRaceFile()});
    Frame().PostCommand(ID_FILE_NEW);
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(DriverList().GetDriverList().GetItemCount(), 0);
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
    QCoreApplication::processEvents(); // the New that the last deletion posts
    EXPECT_EQ(Document().GetRaceData()->trackId, kNoTrackYet);
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
    EXPECT_FALSE(about.isVisible());
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
