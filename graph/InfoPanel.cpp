#include "graph/InfoPanel.h"

#include "framework/DrawingObjects.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr int kPadding = 4;
constexpr int kPointerOffset = 16; // clear of the pointer's own image
const QColor kPanelBack(32, 32, 32);
const QColor kPanelBorder(128, 128, 128);
const QColor kPanelText(0xC0, 0xDC, 0xC0);
// Below this brightness a colour is hard to read on the dark panel; it is lifted toward white.
constexpr int kReadableBrightness = 96;

QColor Readable(QColor colour) {
    const int brightness = (colour.red() * 299 + colour.green() * 587 + colour.blue() * 114) / 1000;
    if (brightness >= kReadableBrightness)
        return colour;
    return QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
}
} // namespace

CInfoPanel::CInfoPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CInfoPanel::SetLines(std::vector<Line> lines) {
    m_lines = std::move(lines);
    const QFontMetrics metrics = fontMetrics();
    int width = 0;
    for (const Line& line : m_lines)
        width = std::max(width, metrics.horizontalAdvance(line.text) + (line.swatch ? metrics.height() : 0));
    resize(width + 2 * kPadding, static_cast<int>(m_lines.size()) * metrics.height() + 2 * kPadding);
    update();
}

void CInfoPanel::ShowNear(CPoint point) {
    const QWidget* area = parentWidget();
    int x = point.x + kPointerOffset;
    int y = point.y + kPointerOffset;
    if (area != nullptr) {
        // Flip to the other side of the pointer rather than leave the view.
        if (x + width() > area->width())
            x = point.x - kPointerOffset - width();
        if (y + height() > area->height())
            y = point.y - kPointerOffset - height();
        x = std::clamp(x, 0, std::max(0, area->width() - width()));
        y = std::clamp(y, 0, std::max(0, area->height() - height()));
    }
    move(x, y);
    show();
    raise();
}

void CInfoPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelBack);
    painter.setPen(kPanelBorder);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics = fontMetrics();
    int top = kPadding;
    for (const Line& line : m_lines) {
        int left = kPadding;
        if (line.swatch) {
            const int side = metrics.height() - 4;
            painter.fillRect(left, top + 2, side, side, drawing::ToQColor(line.colour));
            painter.setPen(kPanelBorder);
            painter.drawRect(left, top + 2, side - 1, side - 1);
            left += metrics.height();
        }
        painter.setPen(line.colour == kDefaultColour ? kPanelText : Readable(drawing::ToQColor(line.colour)));
        painter.drawText(left, top + metrics.ascent(), line.text);
        top += metrics.height();
    }
}
