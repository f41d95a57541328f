#include "framework/CDC.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr QRgb kRedPixel = 0xFFFF0000;

QImage BlackImage(int width = 40, int height = 40) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

int CountOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

// The painter's own hairline up to the pixel before the end, drawn one line at a time.
void DrawReferenceLine(QImage& image, QPoint from, QPoint to) {
    const QPoint span = to - from;
    const int steps = std::max(std::abs(span.x()), std::abs(span.y()));
    const auto rounded = [steps](int n) {
        const long long scaled = static_cast<long long>(n) * (steps - 1);
        return static_cast<int>(scaled >= 0 ? (scaled + steps / 2) / steps
                                            : -((-scaled + steps / 2) / steps));
    };
    const QPoint last = from + QPoint(rounded(span.x()), rounded(span.y()));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(255, 0, 0), 0);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLine(from, last);
}

// LineTo draws its start and leaves out its end point; lines stored straight into an image hit
// exactly the pixels the painter's hairline hits, in every direction and length, inside the image
// and across its edges.
TEST(LineTo, LeavesOutTheEndPointAndStoresThePixelsOfThePaintersHairline) {
    constexpr int kSize = 64;
    const QPoint centre(kSize / 2, kSize / 2);
    for (int dx = -40; dx <= 40; ++dx) {
        for (int dy = -40; dy <= 40; ++dy) {
            if (dx == 0 && dy == 0)
                continue;
            const QPoint to = centre + QPoint(dx, dy);
            QImage drawn = BlackImage(kSize, kSize);
            {
                CDC dc(&drawn);
                CPen pen(PS_SOLID, 1, kRed);
                dc.SelectObject(&pen);
                dc.MoveTo(centre.x(), centre.y());
                dc.LineTo(to.x(), to.y());
                ASSERT_EQ(dc.GetCurrentPosition(), CPoint(to.x(), to.y()));
            }
            ASSERT_EQ(drawn.pixel(centre), kRedPixel) << "to " << dx << "," << dy;
            if (drawn.rect().contains(to)) {
                ASSERT_EQ(drawn.pixel(to), kBlack) << "to " << dx << "," << dy;
                ASSERT_EQ(CountOf(drawn, kRedPixel), std::max(std::abs(dx), std::abs(dy))) << dx << "," << dy;
            }
            QImage reference = BlackImage(kSize, kSize);
            DrawReferenceLine(reference, centre, to);
            ASSERT_EQ(drawn, reference) << "to " << dx << "," << dy;
        }
    }
}

TEST(MappingModes, MapPointsBothWaysToTheNearestPixelAndDrawUpsideDownWithANegativeExtent) {
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
        dc.DPtoLP(&point);
        EXPECT_EQ(point, c.logical);
        if (c.window.cy < 0) {
            CRect clip;
            dc.GetClipBox(&clip);
            EXPECT_EQ(clip, CRect(0, 0, 100, 100));
            dc.FillSolidRect(CRect(0, 0, 10, 10), kRed);
        }
    }
    EXPECT_EQ(image.pixel(5, 95), kRedPixel);
    EXPECT_EQ(image.pixel(5, 85), kBlack);
    EXPECT_EQ(CountOf(image, kRedPixel), 100);
}

struct BackgroundCase {
    int mode;
    bool filled;
};
class BackgroundModeTest : public ::testing::TestWithParam<BackgroundCase> {};

// A negative font height is the character height; the cell is the whole font height.
TEST_P(BackgroundModeTest, FillsTextCellsAndTheGapsOfDottedLinesOnlyWhenOpaque) {
    QImage image = BlackImage(120, 40);
    CDC dc(&image);
    LOGFONT logFont{};
    logFont.lfHeight = -10;
    logFont.lfWidth = 5;
    std::strcpy(logFont.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    dc.SelectObject(&font);
    TEXTMETRIC metrics;
    ASSERT_TRUE(dc.GetTextMetrics(&metrics));
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 10);
    EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
    EXPECT_NEAR(metrics.tmAveCharWidth, 5, 1);
    dc.SetBkMode(GetParam().mode);
    dc.SetBkColor(kRed);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(10, 5, std::string("00:20"));
    const CSize extent = dc.GetTextExtent(std::string("00:20"));
    EXPECT_EQ(extent.cy, metrics.tmHeight);
    dc.EndPainting();
    EXPECT_EQ(image.pixel(10, 5) == kRedPixel, GetParam().filled);
    EXPECT_EQ(image.pixel(10 + extent.cx - 1, 5 + extent.cy - 1) == kRedPixel, GetParam().filled);
    EXPECT_EQ(image.pixel(10 + extent.cx, 5), kBlack);
    EXPECT_EQ(image.pixel(10, 5 + extent.cy), kBlack);
    EXPECT_EQ(image.pixel(9, 5), kBlack);

    QImage dotted = BlackImage(40, 5);
    {
        CDC dotDc(&dotted);
        CPen pen(PS_DOT, 1, RGB(255, 255, 255));
        dotDc.SelectObject(&pen);
        dotDc.SetBkMode(GetParam().mode);
        dotDc.SetBkColor(kRed);
        dotDc.MoveTo(0, 2);
        dotDc.LineTo(36, 2);
    }
    EXPECT_EQ(CountOf(dotted, 0xFFFFFFFF), 18);
    EXPECT_EQ(CountOf(dotted, kRedPixel), GetParam().filled ? 18 : 0);
    EXPECT_EQ(dotted.pixel(0, 2), 0xFFFFFFFFu);
    EXPECT_NE(dotted.pixel(3, 2), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Modes, BackgroundModeTest,
                         ::testing::Values(BackgroundCase{OPAQUE, true}, BackgroundCase{TRANSPARENT, false}));

TEST(DeviceState, RestoreUndoesEverythingChangedSinceTheSave) {
    QImage image = BlackImage();
    CDC dc(&image);
    CPen pen(PS_SOLID, 1, kRed);
    CGdiObject* stockPen = dc.GetCurrentObject(OBJ_PEN);
    const int level = dc.SaveDC();
    dc.SelectObject(&pen);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportOrg(5, 5);
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    dc.SaveDC();
    dc.SetBkColor(kRed);
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), stockPen);
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
    CPoint origin(0, 0);
    dc.LPtoDP(&origin);
    EXPECT_EQ(origin, CPoint(0, 0));
    EXPECT_FALSE(dc.RestoreDC(-1)); // nothing left to restore
}

} // namespace

// Names whose glyphs reach outside their cell (A, y, j, f, W in the printer's Arial) are drawn
// on the first paint as on every later one, on screen and at the printer's resolution.
TEST(OpaqueText, OverhangingGlyphsAreDrawnOnTheFirstPaintAsOnLaterOnes) {
    for (const int dpi : {96, 150}) {
        for (const char* name : {"Andy Wolf", "Guy fjord", "jiffy", "Wyatt Ajax"}) {
            QImage paints[2];
            for (QImage& paint : paints) {
                paint = BlackImage(200, 40);
                paint.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
                paint.setDotsPerMeterY(paint.dotsPerMeterX());
                CDC dc(&paint);
                LOGFONT logFont{};
                logFont.lfHeight = -16;
                logFont.lfWidth = 9;
                std::strcpy(logFont.lfFaceName, "Arial");
                CFont font;
                ASSERT_TRUE(font.CreateFontIndirect(&logFont));
                dc.SelectObject(&font);
                dc.SetBkColor(kRed);
                dc.SetTextColor(RGB(255, 255, 255));
                dc.TextOut(10, 5, std::string(name) + std::to_string(dpi));
                dc.EndPainting();
            }
            EXPECT_GT(CountOf(paints[0], 0xFFFFFFFF), 0) << name << " at " << dpi;
            EXPECT_EQ(paints[0], paints[1]) << name << " at " << dpi;
        }
    }
}
