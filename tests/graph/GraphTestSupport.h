#pragma once

// Races built lap by lap for the chart tests, and the chart rendered through its real paint event.

#include "data/CTarmioDoc.h"
#include "graph/TarmioView.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace graphtest {

struct TestLap {
    std::uint32_t raceTime = 0;
    std::uint32_t flags = 0;
    std::uint32_t eventTime = 0;
};

struct TestDriver {
    std::string name;
    COLORREF colour = 0;
    std::vector<TestLap> laps; // raceTime 0 leaves the slot empty
};

// A race of these drivers in this order, with its lap statistics.
void FillRace(RaceData& race, const std::vector<TestDriver>& drivers);

// Drivers whose race times are the given multiples of a 90 s lap plus a fixed gap each.
TestDriver SteadyDriver(const std::string& name, COLORREF colour, int laps, std::uint32_t gapMs);

// A document with a race and a chart of it, sized and initially updated.
struct ChartFixture {
    explicit ChartFixture(const std::vector<TestDriver>& drivers, int width = 640, int height = 480);
    ~ChartFixture();
    // What the chart's paint event draws, scroll bar excluded.
    QImage Render();
    RaceData& Race() { return *document.GetRaceData(); }

    CTarmioDoc document;
    std::unique_ptr<CTarmioView> view;
};

QRgb Rgb(COLORREF colour);
// Pixels of the colour in the rectangle [x0, x1) x [y0, y1).
int CountPixels(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1);

} // namespace graphtest
