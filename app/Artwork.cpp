#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <functional>

namespace {
constexpr QSize kButtonSize(16, 15);
const QColor kOutline(40, 40, 48);
const QColor kPaper(252, 252, 248);
const QColor kFold(205, 208, 214);
const QColor kFolder(236, 190, 72);
const QColor kFolderDark(176, 128, 30);
const QColor kDisk(52, 96, 176);
const QColor kAddGreen(34, 150, 64);
const QColor kBlade(120, 128, 140);
const QColor kHandle(196, 40, 40);
const QColor kArrow(30, 90, 180);

QImage PaintButton(const std::function<void(QPainter&)>& paint) {
    QImage image(kButtonSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return image;
}

void PaintPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 13.5);
    page.lineTo(3.5, 13.5);
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.setBrush(kFold);
    p.drawPolygon(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
}

void PaintNew(QPainter& p) {
    PaintPage(p);
}

void PaintOpen(QPainter& p) {
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(kFolderDark.lighter(130));
    p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(5.5, 3.5), QPointF(6.5, 4.5), QPointF(12.5, 4.5),
                             QPointF(12.5, 12.5), QPointF(1.5, 12.5)}));
    p.setBrush(kFolder);
    p.drawPolygon(
        QPolygonF({QPointF(3.5, 7.5), QPointF(15.0, 7.5), QPointF(12.5, 12.5), QPointF(1.5, 12.5)}));
}

void PaintSave(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kDisk);
    p.drawRoundedRect(QRectF(1.5, 1.5, 12, 12), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 2, 7, 5));
    p.setBrush(QColor(200, 204, 212));
    p.drawRect(QRectF(4.5, 9.5, 6, 4));
    p.setBrush(kOutline);
    p.drawRect(QRectF(8, 10.5, 1.5, 2.5));
}

void PaintAdd(QPainter& p) {
    PaintPage(p);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(kAddGreen);
    p.drawEllipse(QPointF(11.5, 10.5), 4.2, 4.2);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(11.5, 8.0), QPointF(11.5, 13.0));
    p.drawLine(QPointF(9.0, 10.5), QPointF(14.0, 10.5));
}

void PaintCut(QPainter& p) {
    p.setPen(QPen(kBlade, 1.4));
    p.drawLine(QPointF(5.0, 9.0), QPointF(10.5, 1.0));
    p.drawLine(QPointF(11.0, 9.0), QPointF(5.5, 1.0));
    p.setPen(QPen(kHandle, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 11.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 11.5), 2.5, 2.5);
}

// A vertical double arrow: pointing away from the middle line to zoom in, towards it to zoom out.
void PaintZoomY(QPainter& p, bool zoomIn) {
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(2.0, 7.5), QPointF(14.0, 7.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    const qreal cx = 8.0;
    if (zoomIn) {
        p.drawPolygon(QPolygonF({QPointF(cx, 0.5), QPointF(cx + 4, 4.5), QPointF(cx - 4, 4.5)}));
        p.drawPolygon(QPolygonF({QPointF(cx, 14.5), QPointF(cx + 4, 10.5), QPointF(cx - 4, 10.5)}));
    } else {
        p.drawPolygon(QPolygonF({QPointF(cx, 6.0), QPointF(cx + 4, 1.5), QPointF(cx - 4, 1.5)}));
        p.drawPolygon(QPolygonF({QPointF(cx, 9.0), QPointF(cx + 4, 13.5), QPointF(cx - 4, 13.5)}));
    }
}
// Zoom to Fit: a curve between two bars with arrows pressing it to its height.
void PaintZoomToFit(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.drawLine(QPointF(1.0, 0.5), QPointF(15.0, 0.5));
    p.drawLine(QPointF(1.0, 14.5), QPointF(15.0, 14.5));
    p.setPen(QPen(QColor(80, 210, 110), 1.4));
    p.drawPolyline(
        QPolygonF({QPointF(2.0, 12.5), QPointF(6.0, 3.0), QPointF(10.0, 9.0), QPointF(14.0, 2.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    p.drawPolygon(QPolygonF({QPointF(3.0, 2.0), QPointF(6.0, 2.0), QPointF(4.5, 4.5)}));
    p.drawPolygon(QPolygonF({QPointF(10.0, 13.0), QPointF(13.0, 13.0), QPointF(11.5, 10.5)}));
}
// The three chart kinds as small charts on a dark panel: spreading gap curves, crossing position
// lines, jagged lap times.
void PaintChartPanel(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(24, 36, 64));
    p.drawRect(QRectF(0.5, 1.5, 15, 12));
}

void PaintGapChart(QPainter& p) {
    PaintChartPanel(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 210, 110), 1.4));
    p.drawLine(QPointF(2, 4), QPointF(14, 4));
    p.setPen(QPen(QColor(250, 200, 50), 1.4));
    p.drawLine(QPointF(2, 5), QPointF(14, 8.5));
    p.setPen(QPen(QColor(235, 70, 60), 1.4));
    p.drawLine(QPointF(2, 6), QPointF(14, 12));
}

void PaintPositionChart(QPainter& p) {
    PaintChartPanel(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 210, 110), 1.4));
    p.drawPolyline(QPolygonF({QPointF(2, 4.5), QPointF(6, 4.5), QPointF(10, 10.5), QPointF(14, 10.5)}));
    p.setPen(QPen(QColor(235, 70, 60), 1.4));
    p.drawPolyline(QPolygonF({QPointF(2, 10.5), QPointF(6, 10.5), QPointF(10, 4.5), QPointF(14, 4.5)}));
}

void PaintLapTimeChart(QPainter& p) {
    PaintChartPanel(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(250, 200, 50), 1.4));
    p.drawPolyline(QPolygonF(
        {QPointF(2, 11), QPointF(4.5, 5), QPointF(7, 7), QPointF(9.5, 4.5), QPointF(12, 8), QPointF(14, 6)}));
}
// Reload: an arrow going round; follow: the gap chart with a new lap's point at its growing end.
void PaintReload(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 110, 40), 2.0));
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 40));
    p.drawPolygon(QPolygonF({QPointF(9, 0.5), QPointF(14, 3.5), QPointF(9, 6.5)}));
}

void PaintFollow(QPainter& p) {
    PaintGapChart(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(13, 11.5), 2.2, 2.2);
}
} // namespace

QImage ReloadButtonImage() {
    return PaintButton(PaintReload);
}
QImage FollowButtonImage() {
    return PaintButton(PaintFollow);
}
QImage NewButtonImage() {
    return PaintButton(PaintNew);
}
QImage OpenButtonImage() {
    return PaintButton(PaintOpen);
}
QImage SaveButtonImage() {
    return PaintButton(PaintSave);
}
QImage AddButtonImage() {
    return PaintButton(PaintAdd);
}
QImage CutButtonImage() {
    return PaintButton(PaintCut);
}
QImage ZoomInButtonImage() {
    return PaintButton([](QPainter& p) { PaintZoomY(p, true); });
}
QImage ZoomOutButtonImage() {
    return PaintButton([](QPainter& p) { PaintZoomY(p, false); });
}
QImage ZoomToFitButtonImage() {
    return PaintButton(PaintZoomToFit);
}
QImage GapChartButtonImage() {
    return PaintButton(PaintGapChart);
}
QImage PositionChartButtonImage() {
    return PaintButton(PaintPositionChart);
}
QImage LapTimeChartButtonImage() {
    return PaintButton(PaintLapTimeChart);
}

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A dark chart panel with a time grid and three drivers' gap curves, the leader's flat.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 36, 64));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(QPen(QColor(92, 112, 150), 1.5));
    for (int y = 16; y <= 48; y += 16)
        p.drawLine(QPointF(8, y), QPointF(56, y));
    const auto curve = [&p](const QColor& colour, std::initializer_list<QPointF> points) {
        p.setPen(QPen(colour, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF(points));
    };
    curve(QColor(80, 210, 110), {{8, 14}, {20, 13}, {32, 14}, {44, 13}, {56, 14}});
    curve(QColor(250, 200, 50), {{8, 18}, {20, 24}, {32, 27}, {44, 34}, {56, 36}});
    curve(QColor(235, 70, 60), {{8, 22}, {20, 34}, {32, 40}, {44, 50}, {56, 53}});
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}
