// Whole pictures of the charts compared with the expected PNGs in expected/: the drawing may get
// faster, never different. A failure names the expected, actual and difference images it wrote;
// TARMIO_UPDATE_PICTURES=1 rewrites the expected pictures after an intended change.
#include "GraphTestSupport.h"
#include "PictureCompare.h"
#include "framework/PrintJob.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace graphtest;
using lapgraph::ChartKind;

namespace {

constexpr int kCars = 63;
constexpr int kLaps = 127;

// Cars a little slower each, so that the back of the field is lapped several times; some laps
// carry events of either type.
std::vector<TestDriver> FullField() {
    std::vector<TestDriver> drivers;
    for (int car = 0; car < kCars; ++car) {
        TestDriver driver{
            "Driver " + std::to_string(car), kPalette[static_cast<std::size_t>(car % kPaletteSize)], {}};
        std::uint32_t time = 0;
        for (int slot = 0; slot < kLaps; ++slot) {
            time += 90'000 + static_cast<std::uint32_t>(car) * 150 +
                    static_cast<std::uint32_t>((slot * 7 + car) % 11) * 40;
            TestLap lap{time, 0, 0};
            if ((slot + car) % 17 == 0) {
                lap.flags = (slot % 2 == 0) ? kLapEventA : kLapEventB;
                lap.eventTime = time + 20'000;
            }
            // A few missing laps, bridged by the next line.
            if ((slot * 5 + car) % 41 == 0 && slot > 0)
                lap.raceTime = 0;
            driver.laps.push_back(lap);
        }
        drivers.push_back(std::move(driver));
    }
    return drivers;
}
std::vector<TestDriver> SampleRace() {
    return {}; // read from the sample file
}
using Arrange = std::function<void(ChartFixture&)>;
const Arrange kAsOpened = [](ChartFixture&) {};

// zoomSteps: positive zoomed in that often, negative out.
Arrange View(bool relative, bool mirrored, int zoomSteps = 0, int scroll = 0) {
    return [=](ChartFixture& chart) {
        lapgraph::ViewState state = chart.view->GetViewState();
        state.relative = relative;
        state.mirrored = mirrored;
        for (int i = 0; i < std::abs(zoomSteps); ++i)
            state.zoom = zoomSteps > 0 ? lapgraph::ZoomedIn(state.zoom) : lapgraph::ZoomedOut(state.zoom);
        state.scrollPos += scroll;
        chart.view->SetViewState(state);
    };
}
Arrange Selected(std::vector<int> drivers) {
    return [=](ChartFixture& chart) { chart.document.SetSelectedDrivers(nullptr, drivers); };
}
Arrange Reference(int driver) {
    return [=](ChartFixture& chart) { chart.view->SetReferenceDriver(driver); };
}
// Past the twenty distinct colours the curves come round dashed; the lapping lines stay dotted.
const Arrange kShowDistinctColours = [](ChartFixture& chart) { chart.document.SetDistinctColours(true); };
Arrange Kind(ChartKind kind, bool mirrored) {
    return [=](ChartFixture& chart) {
        View(true, mirrored)(chart);
        chart.view->SetChartKind(kind);
    };
}

struct Scene {
    const char* name;
    std::vector<TestDriver> (*race)();
    QSize size;
    Arrange arrange;
    bool printed = false; // on a 900 x 1200 page rather than on screen
    friend void PrintTo(const Scene& c, std::ostream* out) { *out << c.name; }
};

// What a paint without flicker-free composition draws, straight into an image.
QImage DrawDirect(CTarmioView& view, QSize size) {
    QImage direct(size, QImage::Format_RGB32);
    direct.fill(Qt::magenta);
    CDC dc(&direct);
    view.OnPrepareDC(&dc);
    dc.PatBlt(0, 0, direct.width(), direct.height(), BLACKNESS);
    view.OnDraw(&dc);
    dc.EndPainting();
    return direct;
}

class ChartPicture : public ::testing::TestWithParam<Scene> {};

TEST_P(ChartPicture, StaysPixelForPixelTheSame) {
    const Scene& scene = GetParam();
    ChartFixture chart(scene.race(), scene.size.width(), scene.size.height());
    if (scene.race == SampleRace) {
        const QString sample = QStringLiteral(TARMIO_SAMPLES_DIR "/sample-race.ra3");
        ASSERT_TRUE(QFile::exists(sample));
        chart.document.AddFiles({sample});
        ASSERT_GT(chart.Race().lapCount, 1);
    }
    scene.arrange(chart);
    QImage picture;
    if (scene.printed) {
        picture = QImage(900, 1200, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const int screenLineHeight = chart.view->GetAxisMetrics().lineHeight;
        PrintViewToImage(*chart.view, picture);
        EXPECT_EQ(chart.view->GetAxisMetrics().lineHeight, screenLineHeight) << "the screen font is back";
    } else {
        picture = chart.Render();
        EXPECT_EQ(DrawDirect(*chart.view, picture.size()), picture) << "drawn without composition";
    }
    EXPECT_TRUE(picturetest::MatchesExpectedPicture(picture, TARMIO_EXPECTED_PICTURES_DIR, scene.name));
}

const QSize kLarge(1280, 720);
const QSize kSample(900, 600);
const QSize kSmall(640, 480);

INSTANTIATE_TEST_SUITE_P(
    Scenes, ChartPicture,
    ::testing::Values(
        Scene{"FullFieldPaceLineOriginTop", FullField, kLarge, View(true, true)},
        Scene{"FullFieldLapLeaderOriginBottom", FullField, kLarge, View(false, false)},
        Scene{"FullFieldZoomedInAndScrolled", FullField, kLarge, View(true, true, 3, 700)},
        Scene{"FullFieldZoomedOutAndScrolledBack", FullField, kLarge, View(false, false, -2, -300)},
        Scene{"FullFieldPrinted", FullField, kLarge, kAsOpened, true},
        Scene{"FullFieldDistinctColours", FullField, kLarge, kShowDistinctColours},
        Scene{"SampleRacePaceLineOriginTop", SampleRace, kSample, View(true, true)},
        Scene{"SelectedDriverStandsOut", ThreeDrivers, kSmall, Selected({1})},
        Scene{"SelectedDriverStandsOutPrinted", ThreeDrivers, kSmall, Selected({1}), true},
        Scene{"SelectedCurveLiesOverALaterOne", +[] { return TwoDrivers(6, 0); }, kSmall, Selected({0})},
        Scene{"GapToADriverWithFewerLaps", ThreeDrivers, kSmall, Reference(2)},
        Scene{"GapToTheSecondDriver", ThreeDrivers, kSmall, Reference(1)},
        Scene{"PositionsOriginTop", ThreeDrivers, kSmall, Kind(ChartKind::Positions, true)},
        Scene{"PositionsOriginBottom", ThreeDrivers, kSmall, Kind(ChartKind::Positions, false)},
        Scene{"PositionsPrinted", ThreeDrivers, kSmall, Kind(ChartKind::Positions, true), true},
        Scene{"LapTimesOriginTop", ThreeDrivers, kSmall, Kind(ChartKind::LapTimes, true)},
        Scene{"LapTimesOriginBottom", ThreeDrivers, kSmall, Kind(ChartKind::LapTimes, false)},
        Scene{"LapTimesPrinted", ThreeDrivers, kSmall, Kind(ChartKind::LapTimes, false), true},
        Scene{"LapTimesSelected", ThreeDrivers, kSmall,
              [](ChartFixture& chart) {
                  Kind(ChartKind::LapTimes, true)(chart);
                  Selected({0})(chart);
              }},
        Scene{"OneLapPaceLine", +[] { return std::vector{SteadyDriver("Ann", kRed, 1, 0)}; }, kSmall,
              View(true, true)},
        Scene{"NarrowerThanTheTimeLabels", +[] { return TwoDrivers(5, 100'000); }, QSize(40, 100), kAsOpened},
        Scene{"NoLapsLapLeader", +[] { return std::vector{SteadyDriver("Ann", kRed, 0, 0)}; }, kSmall,
              View(false, false)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
