#include "framework/SystemColours.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace {

struct PaletteColour {
    int index;
    QPalette::ColorRole role;
};

constexpr PaletteColour kPaletteColours[] = {
    {COLOR_WINDOW, QPalette::Base},
    {COLOR_WINDOWTEXT, QPalette::Text},
    {COLOR_HIGHLIGHT, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::HighlightedText},
};

} // namespace

COLORREF GetSysColor(int nIndex) {
    const QPalette palette = QApplication::palette();
    for (const PaletteColour& entry : kPaletteColours) {
        if (entry.index == nIndex) {
            const QColor colour = palette.color(QPalette::Active, entry.role);
            return RGB(colour.red(), colour.green(), colour.blue());
        }
    }
    return RGB(0, 0, 0);
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXVSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}
