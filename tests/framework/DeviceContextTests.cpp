// The pixels the device context stores straight into an image, against what the painter gives.
// How the charts use mappings and saved states is checked by their pictures.
#include "framework/CDC.h"

#include <QImage>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr QRgb kRedPixel = 0xFFFF0000;

// The images are 32 bits a pixel without padding.
int CountOf(const QImage& image, QRgb colour) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return static_cast<int>(std::count(pixels, pixels + image.width() * image.height(), colour));
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

// Text cells (drawn, then copied from the cache) and the gaps of dotted lines are filled only when
// opaque. The charts' pictures check the font and cell sizes.
TEST(BackgroundMode, FillsTextCellsAndDotGapsOnlyWhenOpaque) {
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        for (const char* text : {"Wyatt jiffy 00:20", "Wyatt jiffy 00:20", "Andy fjord"}) {
            const QImage drawn = DrawnOnBothPaths(160, 30, [&](CDC& dc) {
                LOGFONT logFont{-10, 5, "Arial"};
                CFont font;
                ASSERT_TRUE(font.CreateFontIndirect(&logFont));
                dc.SelectObject(&font);
                dc.SetBkMode(mode);
                dc.SetBkColor(kRed);
                dc.SetTextColor(RGB(255, 255, 255));
                dc.TextOut(10, 5, text);
            });
            EXPECT_GT(CountOf(drawn, kWhitePixel), 0);
            EXPECT_EQ(CountOf(drawn, kRedPixel) > 0, mode == OPAQUE) << text;
            EXPECT_EQ(drawn.pixel(5, 5), kBlack);
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

} // namespace

// Lines on a high-density image: one device pixel thin, whether drawn straight on it or composed
// in a bitmap compatible with it and copied; the dashes keep their length in window pixels and go
// on from one piece of a line to the next.
TEST(HighDensity, LinesStayOneDevicePixelThinThroughTheOffscreenBitmap) {
    for (const bool composed : {false, true}) {
        QImage screen(64, 32, QImage::Format_RGB32);
        screen.setDevicePixelRatio(2);
        screen.fill(Qt::black);
        {
            CDC dc(&screen);
            CDC memDC;
            CBitmap bitmap;
            CDC* target = &dc;
            if (composed) {
                memDC.CreateCompatibleDC(&dc);
                ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 32, 16));
                EXPECT_TRUE(bitmap.IsCompatible(&dc, 32, 16) && bitmap.m_image.size() == QSize(64, 32));
                memDC.SelectObject(&bitmap);
                memDC.PatBlt(0, 0, 32, 16, BLACKNESS);
                target = &memDC;
            }
            CPen solid(PS_SOLID, 1, kRed);
            CPen dashed(PS_DASH, 1, RGB(255, 255, 255));
            target->SelectObject(&solid);
            target->MoveTo(2, 5);
            target->LineTo(30, 5);
            target->SelectObject(&dashed);
            target->SetBkMode(TRANSPARENT);
            target->MoveTo(0, 12);
            for (const int x : {8, 16, 24}) // pieces as long as a dash, as a curve's laps may be
                target->LineTo(x, 12);
            if (composed)
                dc.BitBlt(0, 0, 32, 16, &memDC, 0, 0);
        }
        // 28 window pixels long (the hairline may stop a device pixel short), one device row high;
        // dashes of 8 on, 4 off: two whole periods over 24 window pixels.
        EXPECT_NEAR(CountOf(screen, kRedPixel), 56, 1) << "composed " << composed;
        EXPECT_NEAR(CountOf(screen, kWhitePixel), 32, 2) << "composed " << composed;
    }
}
