#include "GraphTestSupport.h"
#include "app/Resource.h"
#include "framework/CFrameWnd.h"
#include "framework/CMenu.h"

#include <QContextMenuEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace graphtest;

namespace {

constexpr COLORREF kRed = RGB(255, 60, 60);
constexpr COLORREF kBlue = RGB(60, 60, 255);

// A race whose largest gap to the lap leader is 2,000,000 ms.
std::vector<TestDriver> FarApartRace() {
    return {SteadyDriver("Ann", kRed, 4, 0), SteadyDriver("Bob", kBlue, 4, 2'000'000)};
}

class ShownChart : public ::testing::Test {
protected:
    void SetUp() override {
        chart = std::make_unique<ChartFixture>(FarApartRace());
        chart->view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(chart->view.get()));
    }
    void StartAt(int zoom, int position) {
        lapgraph::ViewState state = chart->view->GetViewState();
        state.zoom = zoom;
        state.scrollPos = position;
        chart->view->SetViewState(state);
    }
    std::unique_ptr<ChartFixture> chart;
};

TEST_F(ShownChart, AutoZoomCoversTheLargestGapOnEveryUpdate) {
    EXPECT_EQ(chart->view->GetZoom(), 801); // pace line: twice the gap
    StartAt(65, 3000);
    chart->view->OnViewRelative();
    chart->document.UpdateAllViews(nullptr);
    EXPECT_EQ(chart->view->GetZoom(), 401);
    EXPECT_EQ(chart->view->GetScrollPos(), 0);
    chart->view->OnCmdMsg(ID_VIEW_ZOOMOUT_Y, nullptr);
    EXPECT_EQ(chart->view->GetZoom(), 262);
    chart->view->OnCmdMsg(ID_VIEW_ZOOMIN_Y, nullptr);
    EXPECT_EQ(chart->view->GetZoom(), 261);
    EXPECT_EQ(chart->view->GetVerticalScrollBar()->pageStep(), 261 * 125);
}

TEST_F(ShownChart, ZoomCommandsStopAtTheirLimits) {
    StartAt(1, 0);
    chart->view->OnCmdMsg(ID_VIEW_ZOOMIN_Y, nullptr);
    EXPECT_EQ(chart->view->GetZoom(), 1);
    StartAt(262, 0);
    chart->view->OnCmdMsg(ID_VIEW_ZOOMOUT_Y, nullptr);
    EXPECT_EQ(chart->view->GetZoom(), 262);
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int from;
    int expected;
};
class ScrollKeyTest : public ShownChart, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ScrollKeyTest, MovesTheScrollPositionAndTheBar) {
    StartAt(65, GetParam().from);
    QTest::keyClick(chart->view.get(), GetParam().key, GetParam().modifiers);
    EXPECT_EQ(chart->view->GetScrollPos(), GetParam().expected);
    EXPECT_EQ(chart->view->GetVerticalScrollBar()->value(), std::min(GetParam().expected, 32767 - 8125 + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScrollKeyTest,
    ::testing::Values(KeyCase{"PageUp", Qt::Key_PageUp, Qt::NoModifier, 0, -8125},
                      KeyCase{"PageUpAtTheTop", Qt::Key_PageUp, Qt::NoModifier, -30000, -32767},
                      KeyCase{"PageDown", Qt::Key_PageDown, Qt::NoModifier, 0, 8125},
                      KeyCase{"Home", Qt::Key_Home, Qt::NoModifier, 5000, -32767},
                      KeyCase{"CtrlHome", Qt::Key_Home, Qt::ControlModifier, 5000, 0},
                      KeyCase{"End", Qt::Key_End, Qt::NoModifier, 0, 32767},
                      KeyCase{"CtrlEnd", Qt::Key_End, Qt::ControlModifier, 0, 32767},
                      KeyCase{"Up", Qt::Key_Up, Qt::NoModifier, 0, -812},
                      KeyCase{"Down", Qt::Key_Down, Qt::NoModifier, 0, 812},
                      KeyCase{"LeftChangesNothing", Qt::Key_Left, Qt::NoModifier, 1234, 1234},
                      KeyCase{"RightChangesNothing", Qt::Key_Right, Qt::NoModifier, 1234, 1234}),
    [](const auto& info) { return std::string(info.param.name); });

struct BarCase {
    const char* name;
    QAbstractSlider::SliderAction action;
    int from;
    int expected;
};
class ScrollBarTest : public ShownChart, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ScrollBarTest, FollowsTheBarsRequests) {
    StartAt(65, GetParam().from);
    chart->view->GetVerticalScrollBar()->triggerAction(GetParam().action);
    EXPECT_EQ(chart->view->GetScrollPos(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ScrollBarTest,
    ::testing::Values(BarCase{"LineUpStopsAtTheTop", QAbstractSlider::SliderSingleStepSub, -32700, -32767},
                      BarCase{"LineUpAtTheTop", QAbstractSlider::SliderSingleStepSub, -32767, -32767},
                      BarCase{"LineDown", QAbstractSlider::SliderSingleStepAdd, 0, 100},
                      BarCase{"PageUp", QAbstractSlider::SliderPageStepSub, 0, -8125},
                      BarCase{"PageDown", QAbstractSlider::SliderPageStepAdd, 0, 8125},
                      BarCase{"Top", QAbstractSlider::SliderToMinimum, 0, -32767},
                      BarCase{"Bottom", QAbstractSlider::SliderToMaximum, 0, 32767}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShownChart, DraggingTheThumbIntoTheUpperHalfGivesNegativePositions) {
    StartAt(65, 0);
    QScrollBar* bar = chart->view->GetVerticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(-5000);
    EXPECT_EQ(chart->view->GetScrollPos(), -5000);
    bar->setSliderDown(false); // the released thumb changes nothing more
    EXPECT_EQ(chart->view->GetScrollPos(), -5000);
    EXPECT_EQ(bar->value(), -5000);
}

class ContextMenuTest : public ::testing::Test {
protected:
    void TearDown() override { CMenu::SetTrackHook(nullptr); }
};

TEST_F(ContextMenuTest, NamesBothOptionsAndCarriesOutTheChosenOne) {
    CFrameWnd frame;
    CTarmioDoc document;
    document.OnNewDocument();
    FillRace(*document.GetRaceData(), FarApartRace());
    auto* view = new CTarmioView;
    ASSERT_TRUE(view->Create(&frame, &document));
    frame.setCentralWidget(view);
    frame.SetActiveView(view);
    view->OnInitialUpdate();

    std::vector<QString> texts;
    CPoint shownAt;
    UINT choice = ID_VIEW_RELATIVE;
    CMenu::SetTrackHook([&](const CMenu& menu, CPoint point) {
        texts.clear();
        for (const CMenu::Item& item : menu.GetItems())
            texts.push_back(item.text);
        shownAt = point;
        return choice;
    });
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(view, &fromKeyboard);
    EXPECT_EQ(texts, (std::vector<QString>{"Relative\tCtrl+R", "Origin at bottom\tCtrl+M"}));
    EXPECT_EQ(shownAt, CPoint(-1, -1));
    EXPECT_FALSE(view->IsRelative());

    choice = ID_VIEW_MIRRORED;
    QContextMenuEvent fromMouse(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(300, 200));
    QApplication::sendEvent(view, &fromMouse);
    EXPECT_EQ(texts, (std::vector<QString>{"Absolute\tCtrl+R", "Origin at bottom\tCtrl+M"}));
    EXPECT_EQ(shownAt, CPoint(300, 200));
    EXPECT_FALSE(view->IsMirrored());

    choice = 0;
    QApplication::sendEvent(view, &fromMouse);
    EXPECT_EQ(texts, (std::vector<QString>{"Absolute\tCtrl+R", "Origin at top\tCtrl+M"}));
    EXPECT_EQ(view->GetZoom(), 801); // toggles neither re-zoom nor scroll
}

TEST(ViewOptions, AreAlwaysEnabledWithoutACheckMark) {
    ChartFixture chart(FarApartRace());
    for (const UINT command : {ID_VIEW_RELATIVE, ID_VIEW_MIRRORED}) {
        CCmdUI state(command);
        state.Enable(FALSE);
        ASSERT_TRUE(chart.view->OnCmdMsg(command, &state));
        EXPECT_TRUE(state.m_bEnabled);
        EXPECT_FALSE(state.m_bCheckChanged);
    }
    EXPECT_TRUE(chart.view->HasCommandHandler(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(chart.view->HasCommandHandler(ID_FILE_PRINT_DIRECT));
}

TEST(ViewSize, SetsTheGraphRectangleToTheClientArea) {
    ChartFixture chart(FarApartRace(), 500, 300);
    chart.view->show();
    chart.view->resize(700, 400);
    CRect client;
    chart.view->GetClientRect(&client);
    EXPECT_EQ(chart.view->GetGraphRect(), client);
    EXPECT_EQ(client.Height(), 400);
}

} // namespace
