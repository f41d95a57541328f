#include "framework/CDC.h"

#include <QImage>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr QRgb kRedPixel = 0xFFFF0000;

QImage BlackImage(int width, int height, int dpi = 96) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    return image;
}

int CountOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

void SelectAxisFont(CDC& dc, CFont& font, int height, int width) {
    LOGFONT logFont{};
    logFont.lfHeight = -height;
    logFont.lfWidth = width;
    std::strcpy(logFont.lfFaceName, "Arial");
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    dc.SelectObject(&font);
}

// The drawing once stored straight into the image and once through the painter (a clip box over
// the whole image turns the direct stores off): both must give the same pixels.
std::pair<QImage, QImage> FastAndPainted(int width, int height, const std::function<void(CDC&)>& draw,
                                         int dpi = 96) {
    std::pair<QImage, QImage> images{BlackImage(width, height, dpi), BlackImage(width, height, dpi)};
    {
        CDC fast(&images.first);
        draw(fast);
        CDC painted(&images.second);
        painted.SetClipBoxDevice(CRect(0, 0, width, height));
        draw(painted);
    }
    return images;
}

// LineTo draws its start and leaves out its end point, in every direction and length, inside the
// image and across its edges, with the same pixels on both paths.
TEST(LineTo, LeavesOutTheEndPointOnBothPaths) {
    constexpr int kSize = 64;
    const QPoint centre(kSize / 2, kSize / 2);
    for (int dx = -40; dx <= 40; ++dx) {
        for (int dy = -40; dy <= 40; ++dy) {
            const QPoint to = centre + QPoint(dx, dy);
            const auto [fast, painted] = FastAndPainted(kSize, kSize, [&](CDC& dc) {
                CPen pen(PS_SOLID, 1, kRed);
                dc.SelectObject(&pen);
                dc.MoveTo(centre.x(), centre.y());
                dc.LineTo(to.x(), to.y());
            });
            ASSERT_EQ(fast, painted) << "to " << dx << "," << dy;
            if (dx == 0 && dy == 0) {
                ASSERT_EQ(CountOf(fast, kRedPixel), 0);
                continue;
            }
            ASSERT_EQ(fast.pixel(centre), kRedPixel) << "to " << dx << "," << dy;
            if (fast.rect().contains(to)) {
                ASSERT_EQ(fast.pixel(to), kBlack) << "to " << dx << "," << dy;
                ASSERT_EQ(CountOf(fast, kRedPixel), std::max(std::abs(dx), std::abs(dy))) << dx << "," << dy;
            }
        }
    }
}

// The current position moves with MoveTo and LineTo alike, so a polyline joins up.
TEST(LineTo, ContinuesFromTheCurrentPosition) {
    const auto [fast, painted] = FastAndPainted(20, 20, [](CDC& dc) {
        CPen pen(PS_SOLID, 1, kRed);
        dc.SelectObject(&pen);
        EXPECT_EQ(dc.MoveTo(2, 2), CPoint(0, 0));
        dc.LineTo(12, 2);
        dc.LineTo(12, 12);
        EXPECT_EQ(dc.MoveTo(0, 0), CPoint(12, 12));
    });
    EXPECT_EQ(fast, painted);
    EXPECT_EQ(CountOf(fast, kRedPixel), 20);
    EXPECT_EQ(fast.pixel(12, 2), kRedPixel);
    EXPECT_EQ(fast.pixel(12, 12), kBlack);
}

TEST(MappingModes, MapToTheNearestPixelAndDrawUpsideDownWithANegativeExtent) {
    struct Case {
        int mode;
        CSize window;
        CSize viewport;
        int originY;
        CPoint logical;
        CPoint device;
    };
    const Case cases[] = {
        {MM_ANISOTROPIC, {100, -100}, {100, 100}, 100, {10, 30}, {10, 70}}, // turned over
        {MM_ANISOTROPIC, {96, 96}, {600, 600}, 0, {1, 1}, {6, 6}},          // 6.25
        {MM_ANISOTROPIC, {96, 96}, {600, 600}, 0, {-1, 2}, {-6, 13}},       // 12.5 away from zero
        {MM_TEXT, {96, 96}, {600, 600}, 0, {10, 10}, {10, 10}},             // one to one whatever
    };
    QImage image = BlackImage(100, 100);
    for (const Case& c : cases) {
        CDC dc(&image);
        dc.SetMapMode(c.mode);
        dc.SetWindowExt(c.window.cx, c.window.cy);
        dc.SetViewportExt(c.viewport.cx, c.viewport.cy);
        dc.SetViewportOrg(0, c.originY);
        CPoint point = c.logical;
        dc.LPtoDP(&point);
        EXPECT_EQ(point, c.device) << c.logical.x << "," << c.logical.y;
        CRect clip;
        dc.GetClipBox(&clip);
        const bool scaled = c.mode == MM_ANISOTROPIC && c.window.cy > 0;
        EXPECT_EQ(clip, scaled ? CRect(0, 0, 16, 16) : CRect(0, 0, 100, 100));
        if (c.window.cy < 0)
            dc.FillSolidRect(CRect(0, 0, 10, 10), kRed);
    }
    EXPECT_EQ(image.pixel(5, 95), kRedPixel);
    EXPECT_EQ(image.pixel(5, 85), kBlack);
    EXPECT_EQ(CountOf(image, kRedPixel), 100);
}

class BackgroundModeTest : public ::testing::TestWithParam<int> {};

// A negative font height is the character height; the cell is the whole font height. Text cells
// and the gaps of dotted lines are filled only when opaque, on both paths.
TEST_P(BackgroundModeTest, FillsTextCellsAndDotGapsOnlyWhenOpaque) {
    const bool opaque = GetParam() == OPAQUE;
    TEXTMETRIC metrics;
    CSize extent;
    const auto [text, paintedText] = FastAndPainted(120, 40, [&](CDC& dc) {
        CFont font;
        SelectAxisFont(dc, font, 10, 5);
        ASSERT_TRUE(dc.GetTextMetrics(&metrics));
        dc.SetBkMode(GetParam());
        dc.SetBkColor(kRed);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.TextOut(10, 5, std::string("00:20"));
        extent = dc.GetTextExtent(std::string("00:20"));
    });
    EXPECT_EQ(text, paintedText);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 10);
    EXPECT_NEAR(metrics.tmAveCharWidth, 5, 1);
    EXPECT_EQ(extent.cy, metrics.tmHeight);
    EXPECT_EQ(text.pixel(10, 5) == kRedPixel, opaque);
    EXPECT_EQ(text.pixel(10 + extent.cx - 1, 5 + extent.cy - 1) == kRedPixel, opaque);
    EXPECT_EQ(text.pixel(10 + extent.cx, 5), kBlack);
    EXPECT_EQ(text.pixel(10, 5 + extent.cy), kBlack);
    EXPECT_EQ(text.pixel(9, 5), kBlack);

    const auto [dotted, paintedDots] = FastAndPainted(40, 5, [&](CDC& dc) {
        CPen pen(PS_DOT, 1, RGB(255, 255, 255));
        dc.SelectObject(&pen);
        dc.SetBkMode(GetParam());
        dc.SetBkColor(kRed);
        dc.MoveTo(0, 2);
        dc.LineTo(36, 2);
    });
    EXPECT_EQ(dotted, paintedDots);
    EXPECT_EQ(CountOf(dotted, kWhitePixel), 18);
    EXPECT_EQ(CountOf(dotted, kRedPixel), opaque ? 18 : 0);
    EXPECT_EQ(dotted.pixel(0, 2), kWhitePixel);
    EXPECT_NE(dotted.pixel(3, 2), kWhitePixel);
}

INSTANTIATE_TEST_SUITE_P(Modes, BackgroundModeTest, ::testing::Values(OPAQUE, TRANSPARENT));

TEST(DeviceState, RestoreUndoesEverythingChangedSinceTheSave) {
    const auto [fast, painted] = FastAndPainted(40, 40, [](CDC& dc) {
        CPen pen(PS_SOLID, 1, kRed);
        const int level = dc.SaveDC();
        dc.SelectObject(&pen);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetViewportOrg(5, 5);
        dc.SetTextColor(kRed);
        dc.SetBkMode(TRANSPARENT);
        dc.SaveDC();
        dc.SetBkColor(kRed);
        EXPECT_TRUE(dc.RestoreDC(level));
        EXPECT_FALSE(dc.RestoreDC(-1)); // nothing left to restore
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
        EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
        dc.MoveTo(0, 0);
        dc.LineTo(10, 0); // the stock black pen at the unmoved origin
        dc.SetPixelV(0, 1, RGB(255, 255, 255));
    });
    EXPECT_EQ(fast, painted);
    EXPECT_EQ(CountOf(fast, kRedPixel), 0);
    EXPECT_EQ(fast.pixel(0, 1), kWhitePixel);
}

// Names whose glyphs reach outside their cell (A, y, j, f, W in Arial) come out as drawn, cached
// or not, on screen and at the printer's resolution.
TEST(OpaqueText, CachedCellsAreTheDrawnTextPixelForPixel) {
    for (const int dpi : {96, 150}) {
        for (const char* name : {"Andy Wolf", "Guy fjord", "jiffy", "Wyatt Ajax", "12:34"}) {
            for (int paint = 0; paint < 2; ++paint) {
                const auto [fast, painted] = FastAndPainted(
                    200, 40,
                    [&](CDC& dc) {
                        CFont font;
                        SelectAxisFont(dc, font, 16, 9);
                        dc.SetBkColor(kRed);
                        dc.SetTextColor(RGB(255, 255, 255));
                        dc.TextOut(10, 5, std::string(name) + std::to_string(dpi));
                    },
                    dpi);
                EXPECT_GT(CountOf(fast, kWhitePixel), 0) << name << " at " << dpi;
                EXPECT_EQ(fast, painted) << name << " at " << dpi << ", paint " << paint;
            }
        }
    }
}

} // namespace
