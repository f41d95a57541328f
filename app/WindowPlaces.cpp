#include "app/WindowPlaces.h"

#include "framework/CWinApp.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace {
// How much of a place's top left corner must be on a screen for the window to be reached.
constexpr int kReachableCorner = 40;
constexpr int kAbsent = std::numeric_limits<int>::min();
// Narrower than this, a window beside the main one is no use; it goes over the list instead.
constexpr int kUsefulWidth = 320;
} // namespace

std::optional<QRect> ReadPlace(const CWinApp& app, const settings::PlaceKeys& keys) {
    const int left = app.GetProfileInt(settings::kSection, keys.left, kAbsent);
    const int top = app.GetProfileInt(settings::kSection, keys.top, kAbsent);
    const int width = app.GetProfileInt(settings::kSection, keys.width, kAbsent);
    const int height = app.GetProfileInt(settings::kSection, keys.height, kAbsent);
    if (left == kAbsent || top == kAbsent || width <= 0 || height <= 0)
        return std::nullopt;
    return QRect(left, top, width, height);
}

void WritePlace(CWinApp& app, const settings::PlaceKeys& keys, const QRect& place) {
    app.WriteProfileInt(settings::kSection, keys.left, place.left());
    app.WriteProfileInt(settings::kSection, keys.top, place.top());
    app.WriteProfileInt(settings::kSection, keys.width, place.width());
    app.WriteProfileInt(settings::kSection, keys.height, place.height());
}

std::optional<QRect> ShownPlace(const QRect& place, std::span<const QRect> screens) {
    const QRect corner(place.topLeft(), QSize(kReachableCorner, kReachableCorner));
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(corner);
        if (shown.width() >= kReachableCorner / 2 && shown.height() >= kReachableCorner / 2)
            return QRect(place.topLeft(), place.size().boundedTo(screen.size()));
    }
    return std::nullopt;
}

std::vector<QRect> AvailableScreenAreas() {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(screen->availableGeometry());
    return areas;
}

QRect PlaceBeside(const QRect& mainFrame, const QSize& size, const QRect& screen) {
    const int roomRight = screen.right() - mainFrame.right();
    const int roomLeft = mainFrame.left() - screen.left();
    const int width = std::min(size.width(), std::max(roomRight, roomLeft));
    int left = mainFrame.left();
    if (width >= kUsefulWidth)
        left = roomRight >= roomLeft ? mainFrame.right() + 1 : mainFrame.left() - width;
    const QSize placed(width >= kUsefulWidth ? width : size.width(), size.height());
    const int top = std::clamp(mainFrame.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() + 1 - placed.height()));
    return QRect(QPoint(std::max(left, screen.left()), top), placed);
}
