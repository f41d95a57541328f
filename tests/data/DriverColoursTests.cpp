#include "RaceBuilder.h"
#include "data/DriverColours.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <set>

namespace {

// The colour arithmetic below is written from the published formulas, apart from the program's.
double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Luminance(COLORREF colour) {
    return 0.2126 * Linear(GetRValue(colour)) + 0.7152 * Linear(GetGValue(colour)) +
           0.0722 * Linear(GetBValue(colour));
}
double Contrast(COLORREF a, COLORREF b) {
    const double la = Luminance(a) + 0.05;
    const double lb = Luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

struct Lab {
    double L, a, b;
};
Lab ToLab(COLORREF colour) {
    const double r = Linear(GetRValue(colour)), g = Linear(GetGValue(colour)), b = Linear(GetBValue(colour));
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

constexpr double Radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

// CIEDE2000 as Sharma, Wu and Dalal set it out.
double DeltaE2000(Lab one, Lab two) {
    const double c7 = std::pow((std::hypot(one.a, one.b) + std::hypot(two.a, two.b)) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * one.a, a2 = (1 + g) * two.a;
    const double c1 = std::hypot(a1, one.b), c2 = std::hypot(a2, two.b);
    const auto hue = [](double b, double a) {
        const double h = std::atan2(b, a) * 180 / std::numbers::pi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(one.b, a1), h2 = hue(two.b, a2);
    double dh = 0;
    if (c1 * c2 != 0)
        dh = std::abs(h2 - h1) <= 180 ? h2 - h1 : (h2 - h1 > 180 ? h2 - h1 - 360 : h2 - h1 + 360);
    const double dL = two.L - one.L, dC = c2 - c1;
    const double dH = 2 * std::sqrt(c1 * c2) * std::sin(Radians(dh / 2));
    const double meanL = (one.L + two.L) / 2, meanC = (c1 + c2) / 2;
    double meanH = h1 + h2;
    if (c1 * c2 != 0)
        meanH = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2
                                         : (h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2);
    const double t = 1 - 0.17 * std::cos(Radians(meanH - 30)) + 0.24 * std::cos(Radians(2 * meanH)) +
                     0.32 * std::cos(Radians(3 * meanH + 6)) - 0.20 * std::cos(Radians(4 * meanH - 63));
    const double meanC7 = std::pow(meanC, 7);
    const double rc = 2 * std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7)));
    const double rt = -std::sin(Radians(60 * std::exp(-std::pow((meanH - 275) / 25, 2)))) * rc;
    const double sl = 1 + 0.015 * (meanL - 50) * (meanL - 50) / std::sqrt(20 + (meanL - 50) * (meanL - 50));
    const double sc = 1 + 0.045 * meanC, sh = 1 + 0.015 * meanC * t;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dC / sc) * (dH / sh));
}

constexpr double kMinContrast = 3.0;
// Curves one pixel thin must be told apart at a glance, well beyond a just-noticeable difference.
constexpr double kMinDistance = 15.0;

TEST(DistinctColours, ReadOnScreenAndPaperAndStandApartFromEachOther) {
    // The formula first, on pairs from its authors' table.
    EXPECT_NEAR(DeltaE2000({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
    EXPECT_NEAR(DeltaE2000({50, 2.5, 0}, {73, 25, -18}), 27.1492, 1e-4);
    for (std::size_t i = 0; i < kDistinctColours.size(); ++i) {
        for (const COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255)})
            EXPECT_GE(Contrast(kDistinctColours[i], background), kMinContrast) << i << " on " << background;
        for (std::size_t j = i + 1; j < kDistinctColours.size(); ++j)
            EXPECT_GE(DeltaE2000(ToLab(kDistinctColours[i]), ToLab(kDistinctColours[j])), kMinDistance)
                << i << j;
    }
}

COLORREF ColourOf(const RaceData& race, const std::string& name) {
    for (int d = 0; d < race.drivers->GetCount(); ++d)
        if (race.drivers->GetAt(d)->name == name)
            return race.drivers->GetAt(d)->colour;
    return kDefaultColour;
}

std::unique_ptr<RaceData> RaceOf(int drivers) {
    auto race = std::make_unique<RaceData>();
    for (int d = 0; d < drivers; ++d) {
        auto driver = MakeDriver(static_cast<std::uint8_t>(d), "Driver " + std::to_string(d),
                                 {{static_cast<std::uint32_t>(90'000 + d)}});
        driver->colour = driver->designedColour = kPalette[static_cast<std::size_t>(d % kPaletteSize)];
        AppendDriver(*race, std::move(driver));
    }
    return race;
}

TEST(DistinctColours, StayWithTheirDriverAndComeRoundDashedOnlyPastThePalette) {
    const std::unique_ptr<RaceData> race = RaceOf(kDistinctColourCount + 2);
    ShowDriverColours(*race, true);
    std::vector<COLORREF> shown;
    for (int d = 0; d < race->drivers->GetCount(); ++d)
        shown.push_back(race->drivers->GetAt(d)->colour);
    EXPECT_EQ(std::set(shown.begin(), shown.begin() + kDistinctColourCount).size(), 20u);
    EXPECT_EQ(shown[kDistinctColourCount], shown[0]);
    EXPECT_TRUE(race->drivers->GetAt(20)->dashed && !race->drivers->GetAt(19)->dashed);

    // Sorting and deleting leave every remaining driver its colour; a newcomer takes a freed one.
    race->Sort(kSortByName);
    race->RemoveDriver(race->drivers->GetCount() - 1); // "Driver 9"
    AppendDriver(*race, MakeDriver(99, "Newcomer", {{95'000}}));
    ShowDriverColours(*race, true);
    for (std::size_t d = 0; d < shown.size(); ++d)
        if (d != 9) {
            EXPECT_EQ(ColourOf(*race, "Driver " + std::to_string(d)), shown[d]) << d;
        }
    EXPECT_EQ(ColourOf(*race, "Newcomer"), shown[9]);

    ShowDriverColours(*race, false);
    EXPECT_EQ(ColourOf(*race, "Driver 20"), kPalette[2]) << "the designed colour again";
}

} // namespace
