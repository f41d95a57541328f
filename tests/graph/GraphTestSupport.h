#pragma once

// Races built lap by lap for the chart tests, and the chart rendered through its real paint event.

#include "RaceBuilder.h"
#include "document/CTarmioDoc.h"
#include "graph/TarmioView.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace graphtest {

constexpr COLORREF kRed = RGB(255, 60, 60);
constexpr COLORREF kBlue = RGB(60, 60, 255);
constexpr COLORREF kGreen = RGB(60, 200, 60);
constexpr COLORREF kYellow = RGB(240, 240, 0);

struct TestLap {
    std::uint32_t raceTime = 0; // 0 leaves the slot empty
    std::uint32_t flags = 0;
    std::uint32_t eventTime = 0;
};

struct TestDriver {
    std::string name;
    COLORREF colour = 0;
    std::vector<TestLap> laps;
};

// Laps of 90 s, gapMs behind a driver who started at 0.
inline TestDriver SteadyDriver(const std::string& name, COLORREF colour, int laps, std::uint32_t gapMs) {
    TestDriver driver{name, colour, {}};
    for (int slot = 0; slot < laps; ++slot)
        driver.laps.push_back({90'000 * static_cast<std::uint32_t>(slot + 1) + gapMs, 0, 0});
    return driver;
}

inline std::vector<TestDriver> TwoDrivers(int laps, std::uint32_t gapMs) {
    return {SteadyDriver("Ann", kRed, laps, 0), SteadyDriver("Bob", kBlue, laps, gapMs)};
}

// Ann leads, Bob passes her on lap 3 and pits (type A) on lap 5; Cyd is slow and stops after lap 4.
inline std::vector<TestDriver> ThreeDrivers() {
    return {
        {"Ann", kRed, {{90'000}, {181'000}, {272'000}, {363'000}, {454'000}, {545'000}}},
        {"Bob",
         kBlue,
         {{91'000}, {182'000}, {271'500}, {361'000}, {475'000, kLapEventA, 470'000}, {566'000}}},
        {"Cyd", kGreen, {{95'000}, {190'000}, {285'000}, {380'000}}},
    };
}

// A document with a race of these drivers in this order and a chart of it, sized and initially
// updated.
struct ChartFixture {
    explicit ChartFixture(const std::vector<TestDriver>& drivers, int width = 640, int height = 480) {
        document.OnNewDocument();
        RaceData& race = Race();
        for (const TestDriver& source : drivers) {
            // Each lap's time is what it adds to the last race time the driver has.
            std::vector<LapPlan> laps;
            std::uint32_t previousRaceTime = 0;
            for (const TestLap& lap : source.laps) {
                laps.push_back({lap.raceTime, lap.raceTime - previousRaceTime, lap.flags, lap.eventTime});
                if (lap.raceTime != 0)
                    previousRaceTime = lap.raceTime;
            }
            auto driver = MakeDriver(static_cast<std::uint8_t>(race.drivers->GetCount()), source.name, laps);
            driver->colour = driver->designedColour = source.colour;
            AppendDriver(race, std::move(driver));
            race.lapCount = std::max(race.lapCount, static_cast<std::int32_t>(source.laps.size()));
        }
        race.UpdateLapStatistics();
        view = std::make_unique<CTarmioView>();
        view->Create(nullptr, &document);
        view->resize(width, height);
        view->OnInitialUpdate();
    }
    // What the chart's paint event draws, scroll bar excluded.
    QImage Render() {
        CRect client;
        view->GetClientRect(&client);
        return view->grab(QRect(0, 0, client.Width(), client.Height()))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    RaceData& Race() { return *document.GetRaceData(); }

    CTarmioDoc document;
    std::unique_ptr<CTarmioView> view; // goes before the document
};

inline QRgb Rgb(COLORREF colour) {
    return qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace graphtest
