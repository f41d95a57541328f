#include "GraphTestSupport.h"
#include "app/Resource.h"
#include "framework/CFrameWnd.h"
#include "framework/CMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

using namespace graphtest;

namespace {

// The largest gap to the lap leader is 2,000,000 ms.
std::vector<TestDriver> FarApartRace() {
    return TwoDrivers(4, 2'000'000);
}

class ShownChart : public ::testing::Test {
protected:
    void SetUp() override {
        chart.view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.view.get()));
    }
    void StartAt(int zoom, int position) {
        lapgraph::ViewState state = chart.view->GetViewState();
        state.zoom = zoom;
        state.scrollPos = position;
        chart.view->SetViewState(state);
    }
    ChartFixture chart{FarApartRace()};
};

TEST_F(ShownChart, AutoZoomCoversTheLargestGapOnEveryUpdateAndZoomCommandsStepFromThere) {
    EXPECT_EQ(chart.view->GetZoom(), 801); // pace line: twice the gap
    StartAt(65, 3000);
    chart.view->OnViewRelative();
    chart.document.UpdateAllViews(nullptr);
    EXPECT_EQ(chart.view->GetZoom(), 401);
    EXPECT_EQ(chart.view->GetScrollPos(), 0);
    chart.view->OnCmdMsg(ID_VIEW_ZOOMOUT_Y, nullptr);
    EXPECT_EQ(chart.view->GetZoom(), 262);
    chart.view->OnCmdMsg(ID_VIEW_ZOOMIN_Y, nullptr);
    EXPECT_EQ(chart.view->GetZoom(), 261);
    EXPECT_EQ(chart.view->GetVerticalScrollBar()->pageStep(), 261 * 125);
}

TEST_F(ShownChart, SetsTheGraphRectangleToTheClientAreaOnEveryResize) {
    chart.view->resize(700, 400);
    CRect client;
    chart.view->GetClientRect(&client);
    EXPECT_EQ(chart.view->GetGraphRect(), client);
    EXPECT_EQ(client.Height(), 400);
}

using Input = std::function<void(CTarmioView&)>;
Input Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [=](CTarmioView& view) { QTest::keyClick(&view, key, modifiers); };
}
Input Bar(QAbstractSlider::SliderAction action) {
    return [=](CTarmioView& view) { view.GetVerticalScrollBar()->triggerAction(action); };
}
// The thumb dragged there, followed while held, and released.
Input Drag(int position) {
    return [=](CTarmioView& view) {
        QScrollBar* bar = view.GetVerticalScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(position);
        EXPECT_EQ(view.GetScrollPos(), position) << "while held";
        bar->setSliderDown(false);
    };
}

// Wheel events of these angle deltas (120 a notch; touchpads send parts of one).
Input Wheel(std::vector<int> deltas) {
    return [=](CTarmioView& view) {
        const QPointF centre(view.width() / 2.0, view.height() / 2.0);
        for (const int delta : deltas) {
            QWheelEvent event(centre, view.mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&view, &event);
        }
    };
}

struct ScrollCase {
    const char* name;
    Input input;
    int from;
    int expected;
};
class ScrollTest : public ShownChart, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollTest, MovesTheScrollPositionAndTheBarAndStopsAtTheRangeEnds) {
    StartAt(65, GetParam().from);
    GetParam().input(*chart.view);
    EXPECT_EQ(chart.view->GetScrollPos(), GetParam().expected);
    // The bar's range is -32767 .. 32767 less one page of 8125.
    EXPECT_EQ(chart.view->GetVerticalScrollBar()->value(), std::min(GetParam().expected, 32767 - 8125 + 1));
}

using Slider = QAbstractSlider;
INSTANTIATE_TEST_SUITE_P(
    Inputs, ScrollTest,
    ::testing::Values(ScrollCase{"PageUpKey", Key(Qt::Key_PageUp), 0, -8125},
                      ScrollCase{"PageUpKeyAtTheTop", Key(Qt::Key_PageUp), -30000, -32767},
                      ScrollCase{"PageDownKey", Key(Qt::Key_PageDown), 0, 8125},
                      ScrollCase{"PageDownKeyAtTheBottom", Key(Qt::Key_PageDown), 30000, 32767},
                      ScrollCase{"Home", Key(Qt::Key_Home), 5000, -32767},
                      ScrollCase{"CtrlHome", Key(Qt::Key_Home, Qt::ControlModifier), 5000, 0},
                      ScrollCase{"End", Key(Qt::Key_End), 0, 32767},
                      ScrollCase{"CtrlEnd", Key(Qt::Key_End, Qt::ControlModifier), 0, 32767},
                      ScrollCase{"UpKey", Key(Qt::Key_Up), 0, -812},
                      ScrollCase{"DownKey", Key(Qt::Key_Down), 0, 812},
                      ScrollCase{"DownKeyAtTheBottom", Key(Qt::Key_Down), 32000, 32767},
                      ScrollCase{"LeftChangesNothing", Key(Qt::Key_Left), 1234, 1234},
                      ScrollCase{"BarLineUpStopsAtTheTop", Bar(Slider::SliderSingleStepSub), -32700, -32767},
                      ScrollCase{"BarLineDown", Bar(Slider::SliderSingleStepAdd), 0, 100},
                      ScrollCase{"BarPageUp", Bar(Slider::SliderPageStepSub), 0, -8125},
                      ScrollCase{"BarPageDown", Bar(Slider::SliderPageStepAdd), 0, 8125},
                      ScrollCase{"BarTop", Bar(Slider::SliderToMinimum), 0, -32767},
                      ScrollCase{"BarBottom", Bar(Slider::SliderToMaximum), 0, 32767},
                      ScrollCase{"ThumbIntoTheUpperHalf", Drag(-5000), 0, -5000},
                      ScrollCase{"WheelNotchIsThreeLines", Wheel({-120}), 0, 300},
                      ScrollCase{"WheelPartsAddUpToANotch", Wheel({-40, -40, -40}), 0, 300},
                      ScrollCase{"WheelPartsShortOfANotchWait", Wheel({50, 50}), 0, 0},
                      ScrollCase{"WheelRestCarriesOver", Wheel({90, 90, 60}), 0, -600}),
    [](const auto& info) { return std::string(info.param.name); });

class ContextMenuTest : public ::testing::Test {
protected:
    void TearDown() override { CMenu::SetTrackHook(nullptr); }
};

TEST_F(ContextMenuTest, NamesBothOptionsAndCarriesOutTheChosenOne) {
    CFrameWnd frame; // outlives the chart it holds
    ChartFixture chart(FarApartRace(), 640, 480, &frame);
    CTarmioView* view = chart.view.get();
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

TEST(ViewCommands, OptionsAreAlwaysEnabledWithoutACheckMarkAndPrintingIsHandled) {
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

} // namespace
