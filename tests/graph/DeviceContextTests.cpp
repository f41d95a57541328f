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

int CountOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

// The drawing once stored straight into a black image and once through the painter (a clip box
// over the whole image turns the direct stores off); both must give the same pixels.
QImage DrawnOnBothPaths(int width, int height, const std::function<void(CDC&)>& draw) {
    QImage images[2];
    for (int path = 0; path < 2; ++path) {
        images[path] = QImage(width, height, QImage::Format_RGB32);
        images[path].fill(Qt::black);
        CDC dc(&images[path]);
        if (path == 1)
            dc.SetClipBoxDevice(CRect(0, 0, width, height));
        draw(dc);
    }
    EXPECT_EQ(images[0], images[1]) << "the direct stores differ from the painter";
    return images[0];
}

// LineTo draws its start and leaves out its end point, in every direction and length, inside the
// image and across its edges.
TEST(LineTo, LeavesOutTheEndPoint) {
    const QPoint centre(32, 32);
    for (int dx = -40; dx <= 40; ++dx) {
        for (int dy = -40; dy <= 40; ++dy) {
            const QPoint to = centre + QPoint(dx, dy);
            const QImage drawn = DrawnOnBothPaths(64, 64, [&](CDC& dc) {
                CPen pen(PS_SOLID, 1, kRed);
                dc.SelectObject(&pen);
                dc.MoveTo(centre.x(), centre.y());
                dc.LineTo(to.x(), to.y());
            });
            if (drawn.rect().contains(to)) {
                ASSERT_EQ(CountOf(drawn, kRedPixel), std::max(std::abs(dx), std::abs(dy))) << dx << "," << dy;
            }
            ASSERT_EQ(drawn.pixel(centre), dx == 0 && dy == 0 ? kBlack : kRedPixel) << dx << "," << dy;
        }
    }
}

TEST(MappingModes, MapToTheNearestPixelAndDrawUpsideDownWithANegativeExtent) {
    struct Case {
        int mode;
        CSize window;
        int originY;
        CPoint logical;
        CPoint device;
        CRect clipBox;
    };
    const Case cases[] = {
        {MM_ANISOTROPIC, {100, -100}, 100, {10, 30}, {10, 70}, {0, 0, 100, 100}}, // turned over
        {MM_ANISOTROPIC, {16, 16}, 0, {1, 1}, {6, 6}, {0, 0, 16, 16}},            // 6.25
        {MM_ANISOTROPIC, {16, 16}, 0, {-1, 2}, {-6, 13}, {0, 0, 16, 16}},         // 12.5 away from zero
        {MM_TEXT, {16, 16}, 0, {10, 10}, {10, 10}, {0, 0, 100, 100}},             // one to one whatever
    };
    for (const Case& c : cases) {
        const QImage drawn = DrawnOnBothPaths(100, 100, [&](CDC& dc) {
            dc.SetMapMode(c.mode);
            dc.SetWindowExt(c.window.cx, c.window.cy);
            dc.SetViewportExt(100, 100);
            dc.SetViewportOrg(0, c.originY);
            CPoint point = c.logical;
            dc.LPtoDP(&point);
            EXPECT_EQ(point, c.device) << c.logical.x << "," << c.logical.y;
            CRect clip;
            dc.GetClipBox(&clip);
            EXPECT_EQ(clip, c.clipBox);
            dc.FillSolidRect(CRect(0, 0, 1, 1), kRed);
        });
        EXPECT_EQ(CountOf(drawn, kRedPixel), c.mode == MM_TEXT || c.window.cx == 100 ? 1 : 36);
        EXPECT_EQ(drawn.pixel(0, c.window.cy < 0 ? 99 : 0), kRedPixel);
    }
}

// A negative font height is the character height; the cell is the whole font height. Text cells
// (drawn, then copied from the cache) and the gaps of dotted lines are filled only when opaque.
TEST(BackgroundMode, FillsTextCellsAndDotGapsOnlyWhenOpaque) {
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        for (const char* text : {"Wyatt jiffy 00:20", "Wyatt jiffy 00:20", "Andy fjord"}) {
            TEXTMETRIC metrics;
            CSize extent;
            const QImage drawn = DrawnOnBothPaths(160, 30, [&](CDC& dc) {
                LOGFONT logFont{-10, 5, "Arial"};
                CFont font;
                ASSERT_TRUE(font.CreateFontIndirect(&logFont));
                dc.SelectObject(&font);
                dc.GetTextMetrics(&metrics);
                dc.SetBkMode(mode);
                dc.SetBkColor(kRed);
                dc.SetTextColor(RGB(255, 255, 255));
                dc.TextOut(10, 5, text);
                extent = dc.GetTextExtent(text);
            });
            EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 10);
            EXPECT_EQ(extent.cy, metrics.tmHeight);
            EXPECT_GT(CountOf(drawn, kWhitePixel), 0);
            EXPECT_EQ(drawn.pixel(10 + extent.cx - 1, 5 + extent.cy - 1) == kRedPixel, mode == OPAQUE)
                << text;
            EXPECT_EQ(drawn.pixel(10 + extent.cx + 1, 5), kBlack);
            EXPECT_EQ(drawn.pixel(10, 5 + extent.cy), kBlack);
        }
        const QImage dotted = DrawnOnBothPaths(40, 5, [&](CDC& dc) {
            CPen pen(PS_DOT, 1, RGB(255, 255, 255));
            dc.SelectObject(&pen);
            dc.SetBkMode(mode);
            dc.SetBkColor(kRed);
            dc.MoveTo(0, 2);
            dc.LineTo(36, 2);
        });
        EXPECT_EQ(CountOf(dotted, kWhitePixel), 18);
        EXPECT_EQ(CountOf(dotted, kRedPixel), mode == OPAQUE ? 18 : 0);
        EXPECT_EQ(dotted.pixel(0, 2), kWhitePixel);
    }
}

// Restoring undoes the pen, the mapping, the colours and the current position.
TEST(DeviceState, RestoreUndoesEverythingChangedSinceTheSave) {
    const QImage drawn = DrawnOnBothPaths(40, 40, [](CDC& dc) {
        CPen red(PS_SOLID, 1, kRed);
        CGdiObject* stockPen = dc.GetCurrentObject(OBJ_PEN);
        const int level = dc.SaveDC();
        dc.SelectObject(&red);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetViewportOrg(5, 5);
        dc.SetBkMode(TRANSPARENT);
        dc.MoveTo(2, 2);
        dc.SaveDC();
        dc.SetBkColor(kRed);
        EXPECT_TRUE(dc.RestoreDC(level));
        EXPECT_FALSE(dc.RestoreDC(-1)); // nothing left to restore
        EXPECT_EQ(dc.GetCurrentObject(OBJ_PEN), stockPen);
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
        EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
        CPen white(PS_SOLID, 1, RGB(255, 255, 255));
        dc.SelectObject(&white);
        dc.LineTo(12, 0);
        EXPECT_EQ(dc.MoveTo(0, 0), CPoint(12, 0));
    });
    EXPECT_EQ(CountOf(drawn, kWhitePixel), 12);
    EXPECT_EQ(drawn.pixel(0, 0), kWhitePixel);
}

} // namespace
