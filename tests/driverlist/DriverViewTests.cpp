// The driver list beside the chart. The delete keys, the context menu and the row marked under the
// chart's pointer are also driven with real input by the real-input tier; here the document's side
// of them is checked.
#include "common/CommandIds.h"
#include "document/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/SystemColours.h"
#include "tests/framework/TestViews.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

struct Driver {
    std::string name;
    std::uint8_t car;
    int laps;
    std::uint32_t lapTime; // every lap the same
    COLORREF colour;
};

const std::vector<Driver> kField = {
    {"Berger", 0xC2, 3, 91000, RGB(255, 64, 64)},
    {"Alesi", 0x85, 4, 93000, RGB(64, 255, 64)},
    {"Capelli", 0x45, 4, 90000, RGB(64, 64, 255)},
    {"", 0x05, 2, 95000, RGB(255, 255, 0)},
};

// The list and, as the chart is, a second view of the document, shown in an active window.
struct DriverViewHarness {
    explicit DriverViewHarness(const std::vector<Driver>& field = kField, int width = 420) {
        document.OnNewDocument();
        window.resize(width + 200, 300);
        view = new CDriverView;
        view->Create(&window, &document);
        view->setGeometry(0, 0, width, 300);
        graph.Create(nullptr, &document);
        RaceData& race = *document.GetRaceData();
        for (const Driver& driver : field) {
            auto record = std::make_unique<DriverRecord>(driver.car, driver.name, driver.colour);
            for (int slot = 0; slot < driver.laps; ++slot)
                record->laps.SetAt(
                    slot, std::make_unique<LapRecord>(LapRecord{
                              0, driver.lapTime * static_cast<std::uint32_t>(slot + 1), driver.lapTime, 0}));
            race.drivers->Insert(std::move(record));
            race.lapCount = std::max(race.lapCount, driver.laps);
        }
        race.UpdateLapStatistics();
        view->OnInitialUpdate();
        graph.updates.clear();
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        List().setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    CTreeListCtrl& List() { return view->GetDriverList(); }
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

    CTarmioDoc document;
    RecordingView graph;
    QWidget window;
    CDriverView* view = nullptr;
};

TEST(DriverList, ShowsOneRowPerDriverInRaceOrderUnderFiveHeadings) {
    DriverViewHarness harness;
    EXPECT_THAT(harness.RowTexts(0), ElementsAre("Capelli", "Alesi", "Berger", "<no name>"));
    EXPECT_THAT(harness.RowTexts(2), ElementsAre("3", "3", "2", "1"));
    EXPECT_THAT(harness.RowTexts(4), ElementsAre("% 5", "# 5", "% 2", "  5"));
    EXPECT_EQ(harness.List().GetItemText(0, 1), "0h06m00.000s");
    EXPECT_EQ(harness.List().GetItemText(0, 3), "1:30.000");
    EXPECT_EQ(harness.List().GetItemInfo(0)->crText, RGB(64, 64, 255));
    const std::pair<std::string, int> headings[] = {{"Time", 110}, {"Laps", 30}, {"Fastlap", 75}, {"ID", 40}};
    ASSERT_EQ(harness.List().GetColumnCount(), 5);
    for (int column = 1; column < 5; ++column) {
        LVCOLUMN info;
        harness.List().GetColumn(column, &info);
        EXPECT_EQ(std::pair(info.text, info.cx), headings[column - 1]);
        EXPECT_FALSE(harness.List().GetColumnInfo(column)->bActive);
    }
    EXPECT_TRUE(harness.List().GetColumnInfo(0)->bActive);
}

TEST(DriverList, NameColumnTakesWhatTheOthersLeaveButAtLeastOneHundred) {
    for (const int width : {600, 200, 255 + 100 + 40}) {
        DriverViewHarness harness(kField, width);
        const int rest = width - GetSystemMetrics(SM_CXVSCROLL) - (110 + 30 + 75 + 40);
        EXPECT_EQ(harness.List().GetColumnWidth(0), std::max(rest, 100)) << width;
    }
}

// Name, Time and Fastlap headings sort the race, and the chart with it; Laps and ID do not.
TEST(DriverList, HeadingClickSortsByNameRaceOrderOrFastestLap) {
    DriverViewHarness harness;
    const std::pair<int, std::vector<std::string>> clicks[] = {
        {3, {"Capelli", "Berger", "Alesi", "<no name>"}},
        {2, {"Capelli", "Berger", "Alesi", "<no name>"}},
        {0, {"<no name>", "Alesi", "Berger", "Capelli"}},
        {1, {"Capelli", "Alesi", "Berger", "<no name>"}},
    };
    for (const auto& [column, order] : clicks) {
        harness.ClickHeading(column);
        EXPECT_EQ(harness.RowTexts(0), order) << "column " << column;
        EXPECT_EQ(harness.document.GetRaceData()->drivers->GetAt(1)->GetName(),
                  order[1] == "<no name>" ? "" : order[1]);
    }
}

TEST(DriverList, DeleteRemovesTheSelectedDriversAndUpdatesTheGraphOnce) {
    DriverViewHarness harness;
    for (const int row : {0, 2})
        harness.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_THAT(harness.document.GetSelectedDrivers(), ElementsAre(0, 2));
    QTest::keyClick(&harness.List(), Qt::Key_Delete);
    EXPECT_EQ(harness.document.GetRaceData()->drivers->GetAt(0)->GetName(), "Alesi");
    EXPECT_THAT(harness.RowTexts(0), ElementsAre("Alesi", "<no name>"));
    // Once told the race changed (hint 0; the selection has its own).
    EXPECT_EQ(
        std::ranges::count_if(harness.graph.updates, [](const auto& update) { return update.hint == 0; }), 1);
    EXPECT_TRUE(harness.document.GetSelectedDrivers().empty());
}

TEST(DriverList, WithoutARaceNothingIsFilledSortedOrDeleted) {
    DriverViewHarness harness;
    harness.List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    harness.document.DeleteContents();
    harness.ClickHeading(0);
    harness.view->OnCmdMsg(ID_EDIT_CUT, nullptr);
    harness.view->OnUpdate(nullptr, 0);
    EXPECT_EQ(harness.List().GetItemCount(), 4);
    EXPECT_EQ(harness.List().GetColumnCount(), 5);
}

// Name bytes above 0x7F are the same characters in the list's search as on screen.
TEST(DriverList, TypeAheadFindsNamesWithBytesAboveSeventyF) {
    DriverViewHarness harness({{"Berger", 0x02, 3, 91000, RGB(255, 64, 64)},
                               {"\xD8yvind", 0x03, 3, 92000, RGB(64, 255, 64)},
                               {"\xC9mile", 0x04, 3, 93000, RGB(64, 64, 255)}});
    for (const auto& [typed, row] : {std::pair{QChar(0xD8), 1}, std::pair{QChar(0xC9), 2}}) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50); // a new search, not a longer one
        QTest::keyClicks(&harness.List(), QString(typed));
        EXPECT_EQ(harness.List().currentIndex().row(), row) << row;
    }
}

} // namespace
