#include "GraphTestSupport.h"

#include <QApplication>
#include <QScrollBar>

namespace graphtest {

constexpr std::uint32_t kLapMs = 90000;

void FillRace(RaceData& race, const std::vector<TestDriver>& drivers) {
    for (const TestDriver& source : drivers) {
        auto driver = std::make_unique<DriverRecord>(static_cast<std::uint8_t>(race.drivers->GetCount()),
                                                     source.name, source.colour);
        for (std::size_t slot = 0; slot < source.laps.size(); ++slot) {
            const TestLap& lap = source.laps[slot];
            if (lap.raceTime == 0)
                continue;
            auto record = std::make_unique<LapRecord>();
            record->raceTime = lap.raceTime;
            record->flags = lap.flags;
            record->eventTime = lap.eventTime;
            driver->laps.SetAt(static_cast<int>(slot), std::move(record));
        }
        race.drivers->InsertAt(race.drivers->GetCount(), std::move(driver));
        race.lapCount = std::max<std::int32_t>(race.lapCount, static_cast<std::int32_t>(source.laps.size()));
    }
    race.UpdateLapStatistics();
}

TestDriver SteadyDriver(const std::string& name, COLORREF colour, int laps, std::uint32_t gapMs) {
    TestDriver driver{name, colour, {}};
    for (int slot = 0; slot < laps; ++slot)
        driver.laps.push_back({kLapMs * static_cast<std::uint32_t>(slot + 1) + gapMs, 0, 0});
    return driver;
}

ChartFixture::ChartFixture(const std::vector<TestDriver>& drivers, int width, int height) {
    document.OnNewDocument();
    FillRace(*document.GetRaceData(), drivers);
    view = std::make_unique<CTarmioView>();
    view->Create(nullptr, &document);
    view->resize(width, height);
    view->OnInitialUpdate();
}

ChartFixture::~ChartFixture() {
    view.reset();
}

QImage ChartFixture::Render() {
    CRect client;
    view->GetClientRect(&client);
    return view->grab(QRect(0, 0, client.Width(), client.Height()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QRgb Rgb(COLORREF colour) {
    return qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

int CountPixels(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(image.height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return count;
}

} // namespace graphtest
