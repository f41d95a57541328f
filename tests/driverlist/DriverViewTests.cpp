#include "app/Resource.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CMenu.h"
#include "framework/SystemColours.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// The second view of the document, as the graph is: counts race updates, what it saw of the race,
// and the selection it was last told of.
class CountingView : public CView {
public:
    void OnUpdate(CView*, LPARAM lHint, void*) override {
        if (lHint == CTarmioDoc::kHintSelection) {
            selectionSeen = static_cast<CTarmioDoc*>(GetDocument())->GetSelectedDrivers();
            return;
        }
        ++updates;
        const RaceData* race = static_cast<CTarmioDoc*>(GetDocument())->GetRaceData();
        driversSeen = race != nullptr ? race->drivers->GetCount() : -1;
    }
    void OnDraw(CDC*) override {}
    int updates = 0;
    int driversSeen = -1;
    std::vector<int> selectionSeen;
};

struct Driver {
    std::string name;
    std::uint8_t car;
    int laps;
    std::uint32_t lapTime; // every lap the same
    COLORREF colour;
};

const std::vector<Driver> kField = {
    {"Berger", 0x02, 3, 91000, RGB(255, 64, 64)},
    {"Alesi", 0x85, 4, 93000, RGB(64, 255, 64)},
    {"Capelli", 0x45, 4, 90000, RGB(64, 64, 255)},
    {"", 0x05, 2, 95000, RGB(255, 255, 0)},
};

class DriverViewHarness {
public:
    explicit DriverViewHarness(const std::vector<Driver>& field = kField, int width = 420) {
        document.OnNewDocument();
        window.resize(width + 200, 300);
        view = new CDriverView;
        view->Create(&window, &document);
        view->setGeometry(0, 0, width, 300);
        graph = new CountingView;
        graph->Create(&window, &document);
        for (const Driver& driver : field)
            AddDriver(driver);
        view->OnInitialUpdate();
        graph->updates = 0;
    }

    void AddDriver(const Driver& driver) {
        RaceData* race = document.GetRaceData();
        auto record = std::make_unique<DriverRecord>(driver.car, driver.name, driver.colour);
        std::uint32_t raceTime = 0;
        for (int slot = 0; slot < driver.laps; ++slot) {
            raceTime += driver.lapTime;
            record->laps.SetAt(slot, std::make_unique<LapRecord>(LapRecord{0, raceTime, driver.lapTime, 0}));
        }
        race->drivers->Insert(std::move(record));
        race->lapCount = std::max(race->lapCount, driver.laps);
        race->UpdateLapStatistics();
    }

    CTreeListCtrl& List() { return view->GetDriverList(); }
    RaceData& Race() { return *document.GetRaceData(); }

    std::vector<std::string> RaceNames() {
        std::vector<std::string> names;
        for (int i = 0; i < Race().drivers->GetCount(); ++i)
            names.push_back(Race().drivers->GetAt(i)->GetName());
        return names;
    }
    std::vector<std::string> RowTexts(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < List().GetItemCount(); ++row)
            texts.push_back(List().GetItemText(row, column));
        return texts;
    }

    void ClickHeading(int column) {
        QHeaderView* header = List().header();
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }

    void Show() {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        List().setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }

    void SelectRows(const std::vector<int>& rows) {
        for (int row : rows)
            List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }

    CTarmioDoc document;
    QWidget window;
    CDriverView* view = nullptr;
    CountingView* graph = nullptr;
};

struct IdCase {
    std::uint8_t car;
    const char* text;
};

class DriverIdText : public ::testing::TestWithParam<IdCase> {};

TEST_P(DriverIdText, ShowsTheMarkerAndCarNumber) {
    DriverViewHarness harness({{"Driver", GetParam().car, 2, 90000, RGB(1, 2, 3)}});
    EXPECT_EQ(harness.List().GetItemText(0, 4), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cars, DriverIdText,
                         ::testing::Values(IdCase{0x85, "# 5"}, IdCase{0x45, "% 5"}, IdCase{0xC5, "% 5"},
                                           IdCase{0x05, "  5"}));

TEST(DriverList, FillsOneRowPerDriverInRaceOrder) {
    DriverViewHarness harness;
    EXPECT_THAT(harness.RowTexts(0), ElementsAre("Capelli", "Alesi", "Berger", "<no name>"));
    EXPECT_THAT(harness.RowTexts(2), ElementsAre("3", "3", "2", "1"));
    EXPECT_EQ(harness.List().GetItemText(0, 1), "0h06m00.000s");
    EXPECT_EQ(harness.List().GetItemText(0, 3), "1:30.000");
    const ITEMINFO* info = harness.List().GetItemInfo(0);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->crText, RGB(64, 64, 255));
}

TEST(DriverList, HasFiveColumnsWithOnlyTheFirstActive) {
    DriverViewHarness harness;
    const std::vector<std::pair<std::string, int>> expected = {
        {"Time", 110}, {"Laps", 30}, {"Fastlap", 75}, {"ID", 40}};
    ASSERT_EQ(harness.List().GetColumnCount(), 5);
    for (int column = 1; column < 5; ++column) {
        LVCOLUMN info;
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        harness.List().GetColumn(column, &info);
        EXPECT_EQ(std::make_pair(info.text, info.cx), expected[static_cast<std::size_t>(column - 1)]);
        EXPECT_FALSE(harness.List().GetColumnInfo(column)->bActive);
    }
    EXPECT_TRUE(harness.List().GetColumnInfo(0)->bActive);
}

struct SortCase {
    const char* name;
    std::vector<int> clicks;
    std::vector<std::string> order;
};

class HeadingClicks : public ::testing::TestWithParam<SortCase> {};

TEST_P(HeadingClicks, SortTheRaceWithoutTellingTheGraph) {
    DriverViewHarness harness;
    for (int column : GetParam().clicks)
        harness.ClickHeading(column);
    EXPECT_EQ(harness.RaceNames(), GetParam().order);
    std::vector<std::string> rows = harness.RowTexts(0);
    std::replace(rows.begin(), rows.end(), std::string("<no name>"), std::string());
    EXPECT_EQ(rows, GetParam().order);
    EXPECT_EQ(harness.graph->updates, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeadingClicks,
    ::testing::Values(SortCase{"FastlapAscending", {3}, {"Capelli", "Berger", "Alesi", ""}},
                      SortCase{"FastlapTwiceDescending", {3, 3}, {"", "Alesi", "Berger", "Capelli"}},
                      SortCase{"LapsDoesNothing", {2}, {"Capelli", "Alesi", "Berger", ""}},
                      SortCase{"IdDoesNothing", {4}, {"Capelli", "Alesi", "Berger", ""}},
                      SortCase{"TimeAgainReverses", {1}, {"", "Berger", "Alesi", "Capelli"}},
                      SortCase{
                          "DriverAfterDescendingTimeAscends", {1, 0}, {"", "Alesi", "Berger", "Capelli"}}),
    [](const auto& info) { return info.param.name; });

// Ctrl+Delete, which deletes nothing, is checked with real keys by the real-input tier.
TEST(DriverList, DeleteKeyRemovesTheSelectedDriversAndUpdatesTheGraph) {
    DriverViewHarness harness;
    harness.Show();
    harness.SelectRows({0, 2});
    EXPECT_THAT(harness.graph->selectionSeen, ElementsAre(0, 2));
    QTest::keyClick(&harness.List(), Qt::Key_Delete);
    EXPECT_THAT(harness.RaceNames(), ElementsAre("Alesi", ""));
    EXPECT_THAT(harness.RowTexts(0), ElementsAre("Alesi", "<no name>"));
    EXPECT_EQ(harness.graph->updates, 1);
    EXPECT_EQ(harness.graph->driversSeen, 2);
    EXPECT_TRUE(harness.graph->selectionSeen.empty());
}

TEST(DriverList, DeletingEveryRowLeavesAnEmptyRaceAndSendsNoUpdate) {
    DriverViewHarness harness;
    harness.Show();
    harness.SelectRows({0, 1, 2, 3});
    QTest::keyClick(&harness.List(), Qt::Key_Delete);
    EXPECT_EQ(harness.Race().drivers->GetCount(), 0);
    EXPECT_EQ(harness.List().GetItemCount(), 0);
    // Without a main window there is nobody to start the new race; nothing else happens.
    EXPECT_EQ(harness.graph->updates, 0);
}

TEST(DriverList, TheDriverUnderThePointerInTheChartIsFramedNotSelected) {
    DriverViewHarness harness;
    harness.Show();
    harness.document.SetHoveredDriver(nullptr, 1);
    ASSERT_EQ(harness.List().GetMarkedItem(), 1);
    EXPECT_EQ(harness.List().GetSelectedCount(), 0u);
    CRect row;
    harness.List().GetItemRect(1, &row, LVIR_BOUNDS);
    const QImage image = harness.List().viewport()->grab().toImage();
    const COLORREF colour = harness.Race().drivers->GetAt(1)->colour;
    EXPECT_EQ(image.pixel(row.left + 10, row.top) & 0xFFFFFF,
              static_cast<QRgb>(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour)));
    harness.document.SetHoveredDriver(nullptr, -1);
    EXPECT_EQ(harness.List().GetMarkedItem(), -1);
}

TEST(DriverList, WithoutARaceNothingIsFilledSortedOrDeleted) {
    DriverViewHarness harness;
    harness.SelectRows({0});
    harness.document.DeleteContents();
    harness.ClickHeading(0);
    harness.view->OnCmdMsg(ID_EDIT_CUT, nullptr);
    harness.view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(harness.List().GetItemCount(), 4);
    EXPECT_EQ(harness.List().GetColumnCount(), 5);
}

struct WidthCase {
    const char* name;
    int viewWidth;
};

class NameColumnWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(NameColumnWidth, TakesWhatTheOthersLeaveButAtLeastOneHundred) {
    DriverViewHarness harness(kField, GetParam().viewWidth);
    const int rest = GetParam().viewWidth - GetSystemMetrics(SM_CXVSCROLL) - (110 + 30 + 75 + 40);
    EXPECT_EQ(harness.List().GetColumnWidth(0), std::max(rest, 100));
}

INSTANTIATE_TEST_SUITE_P(Cases, NameColumnWidth,
                         ::testing::Values(WidthCase{"Wide", 600}, WidthCase{"Narrow", 200},
                                           WidthCase{"JustWideEnough", 255 + 100 + 40}),
                         [](const auto& info) { return info.param.name; });

std::vector<std::string> MenuTexts(CDriverView& view) {
    std::vector<std::string> texts;
    CMenu::SetTrackHook([&texts](const CMenu& menu, CPoint) {
        for (const CMenu::Item& item : menu.GetItems())
            texts.push_back(item.flags & MF_SEPARATOR ? "-" : item.text.toStdString());
        return 0u;
    });
    view.OnListCtrlMessage(WM_LISTCTRL_CONTEXTMENU, 0xFFFFFFFF, 0);
    CMenu::SetTrackHook(nullptr);
    return texts;
}

TEST(DriverList, ContextMenuNamesTheOtherBackground) {
    DriverViewHarness harness;
    EXPECT_THAT(MenuTexts(*harness.view), ElementsAre("Cut", "-", "Default Background"));
    harness.view->OnCmdMsg(ID_VIEW_BLACKBACKGROUND, nullptr);
    EXPECT_EQ(harness.List().m_crBackground, kDefaultColour);
    EXPECT_THAT(MenuTexts(*harness.view), ElementsAre("Cut", "-", "Black Background"));
    harness.view->OnCmdMsg(ID_VIEW_BLACKBACKGROUND, nullptr);
    EXPECT_EQ(harness.List().m_crBackground, RGB(0, 0, 0));
}

} // namespace

// Name bytes above 0x7F are the same characters in the list's search as on screen.
TEST(DriverList, TypeAheadFindsNamesWithBytesAboveSeventyF) {
    DriverViewHarness harness({{"Berger", 0x02, 3, 91000, RGB(255, 64, 64)},
                               {"\xD8yvind", 0x03, 3, 92000, RGB(64, 255, 64)},
                               {"\xC9mile", 0x04, 3, 93000, RGB(64, 64, 255)}});
    harness.Show();
    const auto rowNamed = [&](const char* name) {
        for (int row = 0; row < harness.List().GetItemCount(); ++row)
            if (harness.List().GetItemText(row, 0) == name)
                return row;
        return -1;
    };
    for (const auto& [typed, name] :
         {std::pair{QString(QChar(0xD8)), "\xD8yvind"}, std::pair{QString(QChar(0xC9)), "\xC9mile"}}) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50); // a new search, not a longer one
        QTest::keyClicks(&harness.List(), typed);
        EXPECT_EQ(harness.List().currentIndex().row(), rowNamed(name)) << name;
    }
}
