// The chart driven by keys, the scroll bar, the wheel and the pointer, and the commands that choose
// what it measures against.
#include "GraphTestSupport.h"
#include "common/CommandIds.h"
#include "graph/InfoPanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

using namespace graphtest;
using lapgraph::ChartKind;

namespace {

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
    ChartFixture chart{TwoDrivers(4, 2'000'000)}; // the largest gap to the lap leader is 2,000,000 ms
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
    friend void PrintTo(const ScrollCase& c, std::ostream* out) { *out << c.name; }
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
                      ScrollCase{"Home", Key(Qt::Key_Home), 5000, -32767},
                      ScrollCase{"CtrlHome", Key(Qt::Key_Home, Qt::ControlModifier), 5000, 0},
                      ScrollCase{"End", Key(Qt::Key_End), 0, 32767},
                      ScrollCase{"UpKey", Key(Qt::Key_Up), 0, -812},
                      ScrollCase{"DownKeyAtTheBottom", Key(Qt::Key_Down), 32000, 32767},
                      ScrollCase{"LeftChangesNothing", Key(Qt::Key_Left), 1234, 1234},
                      ScrollCase{"BarLineUpStopsAtTheTop", Bar(Slider::SliderSingleStepSub), -32700, -32767},
                      ScrollCase{"BarLineDown", Bar(Slider::SliderSingleStepAdd), 0, 100},
                      ScrollCase{"BarPageDown", Bar(Slider::SliderPageStepAdd), 0, 8125},
                      ScrollCase{"ThumbIntoTheUpperHalf", Drag(-5000), 0, -5000},
                      ScrollCase{"WheelNotchIsThreeLines", Wheel({-120}), 0, 300},
                      ScrollCase{"WheelPartsShortOfANotchWait", Wheel({50, 50}), 0, 0},
                      ScrollCase{"WheelRestCarriesOver", Wheel({90, 90, 60}), 0, -600}),
    [](const auto& info) { return std::string(info.param.name); });

void MovePointer(CTarmioView& view, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(view.mapToGlobal(to)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}
QPoint PointOf(const CTarmioView& view, int driver, int slot) {
    const std::optional<CPoint> point = view.LapPoint(driver, slot);
    return point ? QPoint(point->x, point->y) : QPoint(-1, -1);
}

// The read-out names the driver whose lap point is under the pointer, and that point is where the
// curve is drawn. The real-input tier reads the status bar in the orientation the chart opens in.
TEST(ChartHover, NamesTheDriverUnderThePointerInEveryOrientation) {
    // Ann leads, Bob is 20 s and Cyd 45 s behind; Cyd stops after five laps.
    ChartFixture chart({SteadyDriver("Ann", kRed, 8, 0), SteadyDriver("Bob", kBlue, 8, 20'000),
                        SteadyDriver("Cyd", kYellow, 5, 45'000)});
    CTarmioView& view = *chart.view;
    const CInfoPanel* panel = view.GetReadoutPanel();
    for (const lapgraph::ViewState& state :
         {lapgraph::ViewState{65, 0, true, true}, {40, 300, false, false}, {20, -100, false, true}}) {
        view.SetViewState(state);
        const QImage image = chart.Render();
        for (const auto& [driver, slot, name, colour] :
             {std::tuple{0, 2, "Ann", kRed}, {1, 6, "Bob", kBlue}, {2, 3, "Cyd", kYellow}}) {
            EXPECT_EQ(image.pixel(PointOf(view, driver, slot)), Rgb(colour))
                << name << " zoom " << state.zoom;
            MovePointer(view, PointOf(view, driver, slot) + QPoint(2, -2));
            ASSERT_TRUE(panel->isVisibleTo(&view)) << name << " zoom " << state.zoom;
            EXPECT_TRUE(panel->GetLines().front().text.startsWith(name));
            EXPECT_EQ(panel->GetLines()[1].text.left(6), QString("Lap %1 ").arg(slot + 1).left(6));
            EXPECT_EQ(chart.document.GetHoveredDriver(), driver);
        }
        // Halfway between Ann's points 1 and 2, on her line: the nearer one.
        MovePointer(view, (2 * PointOf(view, 0, 2) + PointOf(view, 0, 1)) / 3);
        EXPECT_TRUE(panel->GetLines()[1].text.startsWith("Lap 3 "));
        MovePointer(view, QPoint(view.GetLayout().x0 + 3, view.height() - 3));
        EXPECT_FALSE(panel->isVisibleTo(&view));
        EXPECT_EQ(chart.document.GetHoveredDriver(), -1);
    }
}

TEST(ChartHover, FindsTheLapWhereTheAnalysisChartsDrewIt) {
    ChartFixture chart(ThreeDrivers());
    for (const ChartKind kind : {ChartKind::Positions, ChartKind::LapTimes}) {
        chart.view->SetChartKind(kind);
        const QPoint point = PointOf(*chart.view, 2, 1);
        EXPECT_EQ(chart.Render().pixel(point), Rgb(kGreen));
        const std::optional<CurveHit> hit = chart.view->HitTest(CPoint(point.x(), point.y()));
        ASSERT_TRUE(hit);
        EXPECT_EQ(std::pair(hit->driver, hit->slot), std::pair(2, 1));
    }
}

TEST(ChartReference, LeavesTheDriverForTheDesignedReferences) {
    ChartFixture chart(ThreeDrivers());
    chart.view->SetReferenceDriver(1);
    chart.view->OnViewRelative(); // Ctrl+R: toggles as ever and leaves the driver
    EXPECT_EQ(chart.view->GetReferenceDriver(), -1);
    EXPECT_FALSE(chart.view->IsRelative());
    EXPECT_EQ(chart.view->GetScrollPos(), 0); // the auto-zoom of the lap leader again
    EXPECT_EQ(chart.view->GetZoom(), lapgraph::AutoZoom(chart.Race().maxGap, false));

    chart.view->SetReferenceDriver(1);
    chart.Race().RemoveDriver(1);
    chart.document.UpdateAllViews(nullptr);
    EXPECT_EQ(chart.view->GetReferenceDriver(), -1);

    chart.view->SetReferenceDriver(0);
    chart.view->OnViewGapToDriver(); // the command toggles it off
    EXPECT_EQ(chart.view->GetReferenceDriver(), -1);
    chart.document.SetSelectedDrivers(nullptr, {1});
    chart.view->OnViewGapToDriver();
    EXPECT_EQ(chart.view->GetReferenceDriver(), 1);
}

// Read from the picture: the rows where the drivers' colours show, against the band between the
// axis line and the far edge. Fitted, the curves take most of the band, clear of both ends and
// as far from one as from the other, whatever the reference and the orientation.
TEST(ZoomToFitView, CurvesFillTheBandInEveryReferenceAndOrientation) {
    for (int combination = 0; combination < 8; ++combination) {
        const int reference = (combination & 4) != 0 ? 1 : -1;
        const bool relative = (combination & 2) != 0;
        const bool mirrored = (combination & 1) != 0;
        SCOPED_TRACE(testing::Message()
                     << "reference " << reference << " relative " << relative << " mirrored " << mirrored);
        ChartFixture chart(ThreeDrivers());
        lapgraph::ViewState state = chart.view->GetViewState();
        state.relative = relative;
        state.mirrored = mirrored;
        chart.view->SetViewState(state);
        if (reference != -1)
            chart.view->SetReferenceDriver(reference);
        chart.view->OnCmdMsg(ID_VIEW_ZOOMTOFIT, nullptr);
        const QImage picture = chart.Render();
        const lapgraph::Layout layout = chart.view->GetLayout();
        const int bandTop = mirrored ? layout.yAxis : layout.graph.top;
        const int bandBottom = mirrored ? layout.graph.bottom : layout.yAxis;
        // The "Gap to" note's square, in the driver's colour, sits on the far edge's line.
        const bool noted = reference != -1;
        const int rowsFrom = noted && !mirrored ? layout.graph.top + layout.lineHeight : 0;
        const int rowsTo = noted && mirrored ? layout.graph.bottom - layout.lineHeight : picture.height();
        int first = picture.height();
        int last = -1;
        for (int y = rowsFrom; y < rowsTo; ++y)
            for (int x = layout.x0 + 1; x < picture.width(); ++x)
                if (const QRgb pixel = picture.pixel(x, y);
                    pixel == Rgb(kRed) || pixel == Rgb(kBlue) || pixel == Rgb(kGreen)) {
                    first = std::min(first, y);
                    last = std::max(last, y);
                }
        EXPECT_GT(first, bandTop + 1);
        EXPECT_LT(last, bandBottom - 2);
        EXPECT_GE(last - first, (bandBottom - bandTop) * 8 / 10);
        EXPECT_LE(std::abs((first - bandTop) - (bandBottom - last)), 3);
    }
}

// The chart keeps its positions from paint to paint and works them out again when the race
// changes, as a merged file changes it: in place.
TEST(AnalysisChartView, PositionsFollowTheRaceThroughAChange) {
    ChartFixture chart(ThreeDrivers());
    chart.view->SetChartKind(ChartKind::Positions);
    const std::optional<CPoint> leader = chart.view->LapPoint(0, 1);   // Ann leads after lap 2
    chart.Race().drivers->GetAt(2)->laps.GetAt(1)->raceTime = 180'500; // now Cyd does
    chart.document.UpdateAllViews(nullptr);
    EXPECT_EQ(chart.view->LapPoint(2, 1)->y, leader->y);
}

// Zoom steps and the fit move the lap-time cut-off only; positions have no fit.
TEST(AnalysisChartView, ZoomAndFitMoveTheLapTimeCutoffAndLeaveTheGapZoom) {
    ChartFixture chart(ThreeDrivers()); // Bob's pit lap of 114 s is far above the median of 91 s
    const int gapZoom = chart.view->GetZoom();
    chart.view->SetChartKind(ChartKind::LapTimes);
    chart.view->OnViewZoomOutY();
    EXPECT_EQ(chart.view->GetLapTimeZoom(), lapgraph::kDefaultLapTimeZoom + 1);
    chart.view->OnCmdMsg(ID_VIEW_ZOOMTOFIT, nullptr);
    EXPECT_EQ(lapgraph::CutoffPercent(chart.view->GetLapTimeZoom()), 130);
    chart.view->SetChartKind(ChartKind::Positions);
    chart.view->OnViewZoomInY();
    EXPECT_EQ(chart.view->GetZoom(), gapZoom);
    EXPECT_EQ(lapgraph::CutoffPercent(chart.view->GetLapTimeZoom()), 130);
    CCmdUI state(ID_VIEW_ZOOMTOFIT);
    chart.view->OnCmdMsg(ID_VIEW_ZOOMTOFIT, &state);
    EXPECT_FALSE(state.m_bEnabled);
}

} // namespace
