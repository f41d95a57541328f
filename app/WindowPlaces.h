#pragma once

// Where the program's windows open: the places stored at the last exit, kept only while some
// screen still shows them, and the Race Summary's first place beside the main window.

#include "common/SettingsKeys.h"

#include <QRect>
#include <optional>
#include <span>
#include <vector>

class CWinApp;

// The stored place, when all four values are there and the width and height are positive.
std::optional<QRect> ReadPlace(const CWinApp& app, const settings::PlaceKeys& keys);
void WritePlace(CWinApp& app, const settings::PlaceKeys& keys, const QRect& place);

// The place as it may be shown: none when no screen's available area holds enough of its top left
// corner (where its title bar is grabbed), else no larger than that screen's area.
std::optional<QRect> ShownPlace(const QRect& place, std::span<const QRect> screens);
// The screens' available areas now.
std::vector<QRect> AvailableScreenAreas();

// Where a window of this size opens beside the main window's frame, on the main window's screen:
// on the side with more room, narrowed to that room when it is at least a useful width; else
// over the main window's left edge, where the driver list is, not the chart. The top is the main
// window's, kept on the screen.
QRect PlaceBeside(const QRect& mainFrame, const QSize& size, const QRect& screen);
