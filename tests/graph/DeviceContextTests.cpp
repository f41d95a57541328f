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

struct LineCase {
    const char* name;
    QPoint from;
    QPoint to;
};
class LineToTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineToTest, DrawsTheStartAndLeavesOutTheEndPoint) {
    const LineCase& line = GetParam();
    QImage image = BlackImage();
    {
        CDC dc(&image);
        CPen pen(PS_SOLID, 1, kRed);
        dc.SelectObject(&pen);
        dc.MoveTo(line.from.x(), line.from.y());
        dc.LineTo(line.to.x(), line.to.y());
        EXPECT_EQ(dc.GetCurrentPosition(), CPoint(line.to.x(), line.to.y()));
    }
    EXPECT_EQ(image.pixel(line.from), kRedPixel);
    EXPECT_EQ(image.pixel(line.to), kBlack);
    const QPoint span = line.to - line.from;
    EXPECT_EQ(CountOf(image, kRedPixel), std::max(std::abs(span.x()), std::abs(span.y())));
}

INSTANTIATE_TEST_SUITE_P(Directions, LineToTest,
                         ::testing::Values(LineCase{"Right", {2, 5}, {20, 5}},
                                           LineCase{"Left", {20, 5}, {2, 5}},
                                           LineCase{"Down", {7, 1}, {7, 30}}, LineCase{"Up", {7, 30}, {7, 1}},
                                           LineCase{"Diagonal", {1, 1}, {21, 11}},
                                           LineCase{"SteepBackwards", {20, 30}, {15, 2}},
                                           LineCase{"OnePixel", {3, 3}, {4, 3}}),
                         [](const auto& info) { return std::string(info.param.name); });

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

// Lines stored straight into an image hit exactly the pixels the painter's hairline hits, in every
// direction and length, inside the image and across its edges.
TEST(LineTo, StoresThePixelsOfThePaintersHairline) {
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
            }
            QImage reference = BlackImage(kSize, kSize);
            DrawReferenceLine(reference, centre, to);
            ASSERT_EQ(drawn, reference) << "to " << dx << "," << dy;
        }
    }
}

TEST(MappingModes, NegativeWindowExtentTurnsTheVerticalAxisOver) {
    QImage image = BlackImage(100, 100);
    CDC dc(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(100, -100);
    dc.SetViewportExt(100, 100);
    dc.SetViewportOrg(0, 100);
    CPoint point(10, 30);
    dc.LPtoDP(&point);
    EXPECT_EQ(point, CPoint(10, 70));
    dc.DPtoLP(&point);
    EXPECT_EQ(point, CPoint(10, 30));
    dc.FillSolidRect(CRect(0, 0, 10, 10), kRed);
    CRect clip;
    dc.GetClipBox(&clip);
    EXPECT_EQ(clip, CRect(0, 0, 100, 100));
    dc.EndPainting();
    EXPECT_EQ(image.pixel(5, 95), kRedPixel);
    EXPECT_EQ(image.pixel(5, 85), kBlack);
    EXPECT_EQ(CountOf(image, kRedPixel), 100);
}

TEST(MappingModes, ScaledMappingRoundsToTheNearestPixel) {
    QImage image = BlackImage();
    CDC dc(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(96, 96);
    dc.SetViewportExt(600, 600);
    CPoint points[] = {{1, 1}, {-1, 2}, {10, 0}};
    dc.LPtoDP(points, 3);
    EXPECT_EQ(points[0], CPoint(6, 6));   // 6.25
    EXPECT_EQ(points[1], CPoint(-6, 13)); // 12.5 rounds away from zero
    EXPECT_EQ(points[2], CPoint(63, 0));  // 62.5
    dc.SetMapMode(MM_TEXT);
    dc.SetWindowExt(96, 96); // the text mapping keeps one to one
    CPoint point(10, 10);
    dc.LPtoDP(&point);
    EXPECT_EQ(point, CPoint(10, 10));
}

struct BackgroundCase {
    int mode;
    bool filled;
};
class TextBackgroundTest : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(TextBackgroundTest, OpaqueTextFillsItsCellWithTheBackgroundColour) {
    QImage image = BlackImage(120, 40);
    CDC dc(&image);
    LOGFONT logFont{};
    logFont.lfHeight = -10;
    std::strcpy(logFont.lfFaceName, "Arial");
    CFont font;
    font.CreateFontIndirect(&logFont);
    dc.SelectObject(&font);
    dc.SetBkMode(GetParam().mode);
    dc.SetBkColor(kRed);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(10, 5, std::string("00:20"));
    const CSize extent = dc.GetTextExtent(std::string("00:20"));
    dc.EndPainting();
    EXPECT_EQ(image.pixel(10, 5) == kRedPixel, GetParam().filled);
    EXPECT_EQ(image.pixel(10 + extent.cx - 1, 5 + extent.cy - 1) == kRedPixel, GetParam().filled);
    EXPECT_EQ(image.pixel(10 + extent.cx, 5), kBlack);
    EXPECT_EQ(image.pixel(10, 5 + extent.cy), kBlack);
    EXPECT_EQ(image.pixel(9, 5), kBlack);
}

INSTANTIATE_TEST_SUITE_P(Modes, TextBackgroundTest,
                         ::testing::Values(BackgroundCase{OPAQUE, true}, BackgroundCase{TRANSPARENT, false}));

TEST(Fonts, NegativeHeightIsTheCharacterHeightAndWidthTheAverageCharacter) {
    QImage image = BlackImage();
    CDC dc(&image);
    for (const auto& [height, width] : {std::pair{-10, 5}, std::pair{-16, 9}}) {
        LOGFONT logFont{};
        logFont.lfHeight = height;
        logFont.lfWidth = width;
        std::strcpy(logFont.lfFaceName, "Arial");
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&logFont));
        CFont* previous = dc.SelectObject(&font);
        TEXTMETRIC metrics;
        ASSERT_TRUE(dc.GetTextMetrics(&metrics));
        EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, -height);
        EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
        EXPECT_NEAR(metrics.tmAveCharWidth, width, 1);
        EXPECT_EQ(dc.GetTextExtent(std::string("00 ")).cy, metrics.tmHeight);
        dc.SelectObject(previous);
    }
}

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

struct DotCase {
    int mode;
    int expectedGapPixels;
};
class DottedPenTest : public ::testing::TestWithParam<DotCase> {};

TEST_P(DottedPenTest, DrawsDotsAndFillsTheGapsOnlyWhenOpaque) {
    QImage image = BlackImage(40, 5);
    {
        CDC dc(&image);
        CPen pen(PS_DOT, 1, RGB(255, 255, 255));
        dc.SelectObject(&pen);
        dc.SetBkMode(GetParam().mode);
        dc.SetBkColor(kRed);
        dc.MoveTo(0, 2);
        dc.LineTo(36, 2);
    }
    EXPECT_EQ(CountOf(image, 0xFFFFFFFF), 18);
    EXPECT_EQ(CountOf(image, kRedPixel), GetParam().expectedGapPixels);
    EXPECT_EQ(image.pixel(0, 2), 0xFFFFFFFFu);
    EXPECT_NE(image.pixel(3, 2), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Modes, DottedPenTest,
                         ::testing::Values(DotCase{OPAQUE, 18}, DotCase{TRANSPARENT, 0}));

TEST(MemoryContexts, BlockTransferCopiesTheBitmapDrawnOffScreen) {
    QImage screen = BlackImage();
    CDC dc(&screen);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 20, 10));
    CBitmap* previous = memory.SelectObject(&bitmap);
    memory.PatBlt(0, 0, 20, 10, WHITENESS);
    memory.SetPixelV(3, 4, kRed);
    EXPECT_TRUE(dc.BitBlt(5, 5, 20, 10, &memory, 0, 0, SRCCOPY));
    memory.SelectObject(previous);
    dc.EndPainting();
    EXPECT_EQ(screen.pixel(8, 9), kRedPixel);
    EXPECT_EQ(CountOf(screen, 0xFFFFFFFF), 199);
    EXPECT_EQ(screen.pixel(25, 5), kBlack);
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    QImage image = BlackImage(20, 20);
    {
        CDC dc(&image);
        CPen pen(PS_SOLID, 1, kRed);
        CBrush brush(RGB(255, 255, 255));
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
        dc.Rectangle(2, 2, 12, 8);
    }
    EXPECT_EQ(image.pixel(2, 2), kRedPixel);
    EXPECT_EQ(image.pixel(11, 7), kRedPixel);
    EXPECT_EQ(image.pixel(12, 7), kBlack);
    EXPECT_EQ(image.pixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(CountOf(image, 0xFFFFFFFF), 8 * 4);
}

TEST(Text, DrawTextAlignsMeasuresAndClipsToItsRectangle) {
    QImage image = BlackImage(100, 30);
    CDC dc(&image);
    dc.SetBkColor(kRed);
    CRect measured(10, 5, 10, 5);
    dc.DrawText("Wide text here", &measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(measured.Width(), 20);
    EXPECT_EQ(measured.Height(), dc.GetTextExtent(std::string("W")).cy);
    CRect narrow(10, 5, 30, 5 + measured.Height());
    dc.DrawText("Wide text here", &narrow, DT_RIGHT | DT_SINGLELINE);
    dc.EndPainting();
    EXPECT_EQ(image.pixel(29, 5), kRedPixel);
    EXPECT_EQ(image.pixel(30, 5), kBlack); // clipped
    EXPECT_EQ(image.pixel(9, 5), kBlack);
}

TEST(Capabilities, ReportTheDevicePixelsAndResolution) {
    QImage image = BlackImage(64, 48);
    image.setDotsPerMeterX(23622); // 600 dpi
    image.setDotsPerMeterY(23622);
    CDC dc(&image, true);
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 64);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 48);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 32);
}

} // namespace
