#include "GraphTestSupport.h"

#include "framework/CFrameWnd.h"

namespace graphtest {

TestDriver SteadyDriver(const std::string& name, COLORREF colour, int laps, std::uint32_t gapMs) {
    TestDriver driver{name, colour, {}};
    for (int slot = 0; slot < laps; ++slot)
        driver.laps.push_back({90'000 * static_cast<std::uint32_t>(slot + 1) + gapMs, 0, 0});
    return driver;
}

std::vector<TestDriver> TwoDrivers(int laps, std::uint32_t gapMs) {
    return {SteadyDriver("Ann", kRed, laps, 0), SteadyDriver("Bob", kBlue, laps, gapMs)};
}

std::vector<TestDriver> ThreeDrivers() {
    return {
        {"Ann", kRed, {{90'000}, {181'000}, {272'000}, {363'000}, {454'000}, {545'000}}},
        {"Bob",
         kBlue,
         {{91'000}, {182'000}, {271'500}, {361'000}, {475'000, kLapEventA, 470'000}, {566'000}}},
        {"Cyd", kGreen, {{95'000}, {190'000}, {285'000}, {380'000}}},
    };
}

ChartFixture::ChartFixture(const std::vector<TestDriver>& drivers, int width, int height, CFrameWnd* frame) {
    document.OnNewDocument();
    RaceData& race = *document.GetRaceData();
    for (const TestDriver& source : drivers) {
        auto driver = std::make_unique<DriverRecord>(static_cast<std::uint8_t>(race.drivers->GetCount()),
                                                     source.name, source.colour);
        std::uint32_t previousRaceTime = 0;
        for (std::size_t slot = 0; slot < source.laps.size(); ++slot) {
            if (source.laps[slot].raceTime == 0)
                continue;
            auto record = std::make_unique<LapRecord>();
            record->raceTime = source.laps[slot].raceTime;
            record->flags = source.laps[slot].flags;
            record->eventTime = source.laps[slot].eventTime;
            record->lapTime = source.laps[slot].lapTime != 0 ? source.laps[slot].lapTime
                                                             : source.laps[slot].raceTime - previousRaceTime;
            previousRaceTime = source.laps[slot].raceTime;
            driver->laps.SetAt(static_cast<int>(slot), std::move(record));
        }
        race.drivers->InsertAt(race.drivers->GetCount(), std::move(driver));
        race.lapCount = std::max<std::int32_t>(race.lapCount, static_cast<std::int32_t>(source.laps.size()));
    }
    race.UpdateLapStatistics();
    view = std::make_unique<CTarmioView>();
    view->Create(frame, &document);
    if (frame != nullptr) {
        frame->setCentralWidget(view.get());
        frame->SetActiveView(view.get());
    }
    view->resize(width, height);
    view->OnInitialUpdate();
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
