#pragma once

// Races built lap by lap for the chart tests, and the chart rendered through its real paint event.

#include "data/CTarmioDoc.h"
#include "graph/TarmioView.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CFrameWnd;

namespace graphtest {

constexpr COLORREF kRed = RGB(255, 60, 60);
constexpr COLORREF kBlue = RGB(60, 60, 255);
constexpr COLORREF kGreen = RGB(60, 200, 60);
constexpr COLORREF kYellow = RGB(240, 240, 0);

struct TestLap {
    std::uint32_t raceTime = 0; // 0 leaves the slot empty
    std::uint32_t flags = 0;
    std::uint32_t eventTime = 0;
    std::uint32_t lapTime = 0; // 0: the race time less the previous lap's
};

struct TestDriver {
    std::string name;
    COLORREF colour = 0;
    std::vector<TestLap> laps;
};

// A driver whose race times are multiples of a 90 s lap plus a fixed gap.
TestDriver SteadyDriver(const std::string& name, COLORREF colour, int laps, std::uint32_t gapMs);
// Ann in red and, gapMs behind her on every lap, Bob in blue.
std::vector<TestDriver> TwoDrivers(int laps, std::uint32_t gapMs);
// Ann leads, Bob passes her on lap 3 and pits (type A) on lap 5; Cyd is slow and stops after lap 4.
std::vector<TestDriver> ThreeDrivers();

// A document with a race of these drivers in this order and a chart of it, sized and initially
// updated; inside the frame as its active view when one is given.
struct ChartFixture {
    explicit ChartFixture(const std::vector<TestDriver>& drivers, int width = 640, int height = 480,
                          CFrameWnd* frame = nullptr);
    // What the chart's paint event draws, scroll bar excluded.
    QImage Render();
    RaceData& Race() { return *document.GetRaceData(); }

    CTarmioDoc document;
    std::unique_ptr<CTarmioView> view; // goes before the document
};

QRgb Rgb(COLORREF colour);
// Pixels of the colour in the rectangle [x0, x1) x [y0, y1).
int CountPixels(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1);

} // namespace graphtest
