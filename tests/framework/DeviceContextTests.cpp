// The pixels the device context stores straight into an image, against what the painter gives.
// How the charts use mappings and saved states is checked by their pictures.
#include "framework/CDC.h"
#include "framework/HairlinePixels.h"

#include <QImage>
#include <QPicture>
#include <algorithm>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

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

// ---- PolylineTo gives the pixels of the LineTo calls it stands for

// A pen, a background and a mapping to draw with.
struct PolylineSetup {
    const char* name;
    int penStyle;
    int penWidth;
    int bkMode;
    int mapping; // 0: text; 1: both axes scaled, y flipped; 2: x only shifted, y scaled and flipped
    bool hostile;
};

constexpr int kFieldWidth = 96;
constexpr int kFieldHeight = 72;

// Points in and around the image: first across it, then at random, some repeated (the last too)
// and some sharing a row or column with the one before. Or, hostile, points towards the far ends
// of the coordinates, which no image shows.
std::vector<CPoint> PointsFor(bool hostile) {
    if (hostile) {
        constexpr int kFar = INT_MAX / 2;
        return {{0, 0},    {kFar, 10}, {10, -kFar},   {-kFar, kFar},  {40, 30}, {40, kFar}, {-kFar, 30},
                {50, -50}, {50, -50},  {kFar, -kFar}, {-kFar, -kFar}, {20, 60}, {60, -20},  {kFar, kFar}};
    }
    std::vector<CPoint> points{{10, 10}, {30, 40}, {50, 10}, {70, 45}};
    unsigned seed = 12345;
    for (int i = 4; i < 240; ++i) {
        seed = seed * 1103515245u + 12345u;
        CPoint next(static_cast<int>(seed >> 8) % 160 - 30, static_cast<int>(seed >> 20) % 130 - 30);
        if (i % 7 == 0)
            next = points.back();
        else if (i % 5 == 0)
            next.x = points.back().x;
        else if (i % 11 == 0)
            next.y = points.back().y;
        points.push_back(next);
    }
    // The end point stays out even after a line of no length.
    points.insert(points.end(), {{6, 6}, {6, 6}});
    return points;
}

void Prepare(CDC& dc, const PolylineSetup& setup) {
    dc.SetBkMode(setup.bkMode);
    dc.SetBkColor(RGB(0, 0, 255));
    if (setup.mapping == 0)
        return;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrg(5, 60);
    dc.SetWindowExt(setup.mapping == 1 ? 100 : 64, setup.mapping == 1 ? -37 : -300);
    dc.SetViewportExt(64, 48);
}

// The points drawn as one MoveTo and two PolylineTo calls, or as one LineTo each, between lines of
// other pens that leave the image (so they may wait to be drawn together) and cross the points'
// lines: each must land in its turn. Answers the current position after the points.
CPoint DrawField(CDC& dc, const PolylineSetup& setup, bool polyline) {
    const std::vector<CPoint> points = PointsFor(setup.hostile);
    CPen before(PS_SOLID, 1, RGB(0, 0, 255));
    CPen pen(setup.penStyle, setup.penWidth, kRed);
    CPen after(PS_SOLID, 1, RGB(0, 255, 0));
    Prepare(dc, setup);
    dc.SelectObject(&before);
    dc.MoveTo(-40, 10);
    dc.LineTo(90, 45);
    dc.SelectObject(&pen);
    dc.MoveTo(points[0].x, points[0].y);
    const int half = static_cast<int>(points.size()) / 2;
    if (polyline) {
        dc.PolylineTo(&points[1], half - 1);
        dc.PolylineTo(&points[static_cast<std::size_t>(half)], static_cast<int>(points.size()) - half);
    } else {
        for (std::size_t i = 1; i < points.size(); ++i)
            dc.LineTo(points[i].x, points[i].y);
    }
    dc.SelectObject(&after);
    const CPoint position = dc.MoveTo(-40, 20);
    dc.LineTo(110, 35);
    return position;
}

// Each setup on an image stored into directly (0), on one clipped by a box (1), on a recorded
// vector picture (2, as pages and drawings are) and on one clipped by a box over all of it, which
// the painter draws (3): the same pixels or commands, ending at the same position, and the
// painter's pixels those of the direct stores.
TEST(PolylineTo, DrawsWhatItsLineToCallsDraw) {
    const PolylineSetup setups[] = {
        {"hairline", PS_SOLID, 1, OPAQUE, 0, false},
        {"hairline scaled", PS_SOLID, 1, OPAQUE, 1, false},
        {"hairline shifted x", PS_SOLID, 1, OPAQUE, 2, false},
        {"wide pen scaled", PS_SOLID, 3, OPAQUE, 1, false},
        {"dotted opaque", PS_DOT, 1, OPAQUE, 0, false},
        {"dotted transparent scaled", PS_DOT, 1, TRANSPARENT, 1, false},
        {"hostile hairline", PS_SOLID, 1, OPAQUE, 0, true},
        {"hostile hairline scaled", PS_SOLID, 1, OPAQUE, 1, true},
        {"hostile wide pen", PS_SOLID, 3, OPAQUE, 2, true},
    };
    for (const PolylineSetup& setup : setups) {
        QByteArray direct;
        for (const int device : {0, 1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << setup.name << " on device " << device);
            QByteArray drawn[2];
            CPoint ends[2];
            for (const int polyline : {0, 1}) {
                QImage image(kFieldWidth, kFieldHeight, QImage::Format_RGB32);
                image.fill(Qt::black);
                QPicture picture;
                picture.setBoundingRect(image.rect());
                {
                    CDC dc(device == 2 ? static_cast<QPaintDevice*>(&picture) : &image, device == 2);
                    ASSERT_EQ(dc.GetDeviceCaps(HORZRES), kFieldWidth);
                    if (device == 1 || device == 3)
                        dc.SetClipBoxDevice(device == 1 ? CRect(7, 5, 61, 50)
                                                        : CRect(0, 0, kFieldWidth, kFieldHeight));
                    ends[polyline] = DrawField(dc, setup, polyline != 0);
                }
                EXPECT_TRUE(device == 2 || CountOf(image, kRedPixel) > 0) << "nothing drawn";
                drawn[polyline] = device == 2
                                      ? QByteArray(picture.data(), static_cast<qsizetype>(picture.size()))
                                      : QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                                   static_cast<qsizetype>(image.sizeInBytes()));
            }
            EXPECT_TRUE(drawn[0] == drawn[1]) << "the polyline draws otherwise";
            EXPECT_EQ(ends[0], ends[1]);
            direct = device == 0 ? drawn[0] : direct;
            EXPECT_TRUE(device != 3 || drawn[0] == direct) << "the direct stores differ from the painter";
        }
    }
}

// A line in a band of columns, wherever its ends lie: the whole line's pixels in those columns and
// none beyond them, so that cores sharing an image never meet.
TEST(HairlineBands, StoreTheWholeLinesPixelsInTheirColumnsOnly) {
    const std::vector<CPoint> ends = PointsFor(false);
    for (std::size_t i = 1; i < ends.size(); ++i) {
        const QPoint from(ends[i - 1].x, ends[i - 1].y);
        const QPoint to(ends[i].x, ends[i].y);
        const auto drawn = [&](int left, int right) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::black);
            const drawing::RasterTarget target{
                reinterpret_cast<QRgb*>(image.bits()), 64, image.size(), kRedPixel, left, right};
            drawing::StoreLine(target, from, to);
            return image;
        };
        const QImage whole = drawn(0, 64);
        for (int left = 0; left < 64; left += 3) {
            const int right = std::min(64, left + 1 + (left * 7) % 23);
            QImage expected = whole;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 64; ++x)
                    if (x < left || x >= right)
                        expected.setPixel(x, y, kBlack);
            ASSERT_EQ(drawn(left, right), expected)
                << "from " << from.x() << "," << from.y() << " to " << to.x() << "," << to.y()
                << " in columns " << left << " to " << right;
        }
    }
}

// Lines ending just off the image, which the painter steps as if whole or cuts first, stored
// directly: the painter's pixels. Lines reaching far off are among the polylines above.
TEST(HairlineStores, LinesEndingJustOffTheImageKeepThePaintersPixels) {
    for (const QPoint from :
         {QPoint(6, 4), QPoint(-2, 10), QPoint(15, -3), QPoint(14, 11), QPoint(-3, -3), QPoint(15, 5)})
        for (int x = -3; x <= 15; ++x)
            for (int y = -3; y <= 11; ++y)
                DrawnOnBothPaths(13, 9, [&](CDC& dc) {
                    CPen pen(PS_SOLID, 1, kRed);
                    dc.SelectObject(&pen);
                    dc.MoveTo(from.x(), from.y());
                    dc.LineTo(x, y);
                });
}

// ---- DrawPolylineField gives the pixels of the calls it stands for

// Many short curves of their own pens crossing one another across the image, as a large field's
// do: enough for every core to draw, and lines crossing the columns where the cores meet. Some
// lines leave the image and are cut; a dashed pen needs the painter's patterns; the first curve of
// the dashed field has no pen of its own and draws with the context's.
void DrawCurveField(CDC& dc, bool dashed, bool asField) {
    constexpr int kCurves = 400;
    std::vector<CPen> pens;
    for (int curve = 0; curve < kCurves; ++curve)
        pens.emplace_back(dashed && curve % 3 == 0 ? PS_DASH : PS_SOLID, 1,
                          RGB(curve % 256, 255 - curve % 256, curve / 2));
    const auto build = [&](int curve, auto& field) {
        unsigned seed = 777 + static_cast<unsigned>(curve);
        const auto next = [&seed](int range) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
        };
        for (int run = 0; run < 4; ++run) {
            int x = next(kFieldWidth * 4 - 1);
            field.MoveTo(x, next(kFieldHeight * 4));
            for (int point = 0; point < 16; ++point) {
                x = next(kFieldWidth * 4 - 1);
                field.LineTo(x, curve == kCurves - 1 ? -5 : next(kFieldHeight * 4));
            }
            field.LineTo(x, next(kFieldHeight * 4)); // a line along a column
        }
    };
    if (asField) {
        dc.DrawPolylineField(kCurves, [&](int curve, PolylineField& field) {
            if (!dashed || curve > 0)
                field.SelectPen(&pens[static_cast<std::size_t>(curve)],
                                curve % 2 == 0 ? OPAQUE : TRANSPARENT);
            build(curve, field);
        });
        return;
    }
    for (int curve = 0; curve < kCurves; ++curve) {
        if (!dashed || curve > 0) {
            dc.SelectObject(&pens[static_cast<std::size_t>(curve)]);
            dc.SetBkMode(curve % 2 == 0 ? OPAQUE : TRANSPARENT);
        }
        build(curve, dc);
    }
}

TEST(DrawPolylineField, DrawsWhatItsCallsDraw) {
    for (const bool dashed : {false, true}) {
        SCOPED_TRACE(testing::Message() << "dashed " << dashed);
        QImage images[2];
        for (const bool asField : {true, false}) {
            QImage& image = images[asField ? 0 : 1];
            image = QImage(kFieldWidth * 4 - 1, kFieldHeight * 4, QImage::Format_RGB32);
            image.fill(Qt::black);
            CDC dc(&image);
            if (!asField) // the painter draws every line
                dc.SetClipBoxDevice(CRect(0, 0, image.width(), image.height()));
            DrawCurveField(dc, dashed, asField);
        }
        EXPECT_EQ(images[0], images[1]);
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
