// Whole pictures of the chart pinned by checksum: the drawing may get faster, never different.
// The checksums were taken from the segment-by-segment drawing before it was batched.
#include "GraphTestSupport.h"
#include "framework/PrintJob.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

using namespace graphtest;

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

QString Checksum(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const quint32 rgb = row[x] & 0xFFFFFFu;
            hash.addData(QByteArrayView(reinterpret_cast<const char*>(&rgb), sizeof rgb));
        }
    }
    return QString::fromLatin1(hash.result().toHex().left(16));
}

struct PictureCase {
    const char* name;
    bool relative;
    bool mirrored;
    int zoomSteps; // positive: zoomed in that often, negative: out
    int scrollPos;
    const char* checksum;
};
void PrintTo(const PictureCase& picture, std::ostream* out) {
    *out << picture.name;
}

void Arrange(CTarmioView& view, const PictureCase& picture) {
    lapgraph::ViewState state = view.GetViewState();
    state.relative = picture.relative;
    state.mirrored = picture.mirrored;
    for (int i = 0; i < std::abs(picture.zoomSteps); ++i)
        state.zoom = picture.zoomSteps > 0 ? lapgraph::ZoomedIn(state.zoom) : lapgraph::ZoomedOut(state.zoom);
    state.scrollPos += picture.scrollPos;
    view.SetViewState(state);
}

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

QImage DrawPrinted(CTarmioView& view) {
    QImage page(900, 1200, QImage::Format_RGB32);
    page.fill(Qt::white);
    PrintViewToImage(view, page);
    return page;
}

class FullFieldPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(FullFieldPicture, StaysPixelForPixelTheSame) {
    ChartFixture chart(FullField(), 1280, 720);
    Arrange(*chart.view, GetParam());
    const QImage painted = chart.Render();
    EXPECT_EQ(Checksum(painted).toStdString(), GetParam().checksum);
    EXPECT_EQ(DrawDirect(*chart.view, painted.size()), painted);
}

INSTANTIATE_TEST_SUITE_P(
    Views, FullFieldPicture,
    ::testing::Values(PictureCase{"PaceLineOriginTop", true, true, 0, 0, "487737a83df2fd1f"},
                      PictureCase{"PaceLineOriginBottom", true, false, 0, 0, "c6f5e93e7177bf2b"},
                      PictureCase{"LapLeaderOriginTop", false, true, 0, 0, "cff908fc3c6b291e"},
                      PictureCase{"LapLeaderOriginBottom", false, false, 0, 0, "576d914cd6daa349"},
                      PictureCase{"ZoomedInAndScrolled", true, true, 3, 700, "4cbe2a6544f913d9"},
                      PictureCase{"ZoomedOutAndScrolledBack", false, false, -2, -300, "13e4f9508044cb7b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FullFieldPicture, PrintedPageStaysPixelForPixelTheSame) {
    ChartFixture chart(FullField(), 1280, 720);
    EXPECT_EQ(Checksum(DrawPrinted(*chart.view)).toStdString(), "23dc7f4d2b066804");
}

TEST(SampleRacePicture, StaysPixelForPixelTheSame) {
    const QString sample = QStringLiteral(TARMIO_SAMPLES_DIR "/sample-race.ra3");
    ASSERT_TRUE(QFile::exists(sample));
    ChartFixture chart({}, 900, 600);
    chart.document.AddFiles({sample});
    ASSERT_GT(chart.Race().lapCount, 1);
    const PictureCase views[] = {{"PaceLineOriginTop", true, true, 0, 0, "16ed0f9aa69f8fa6"},
                                 {"LapLeaderOriginBottom", false, false, 0, 0, "1701d0568bfc387a"}};
    for (const PictureCase& picture : views) {
        Arrange(*chart.view, picture);
        EXPECT_EQ(Checksum(chart.Render()).toStdString(), picture.checksum) << picture.name;
    }
    EXPECT_EQ(Checksum(DrawPrinted(*chart.view)).toStdString(), "147703a52e67f59f") << "printed";
}

} // namespace
