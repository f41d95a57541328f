#include "framework/SystemColours.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace {

struct PaletteColour {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Qt has no window captions of its own; the inactive caption gets the palette's mid tone, which
// stands apart from both the window and the highlight.
constexpr PaletteColour kPaletteColours[] = {
    {COLOR_INACTIVECAPTION, QPalette::Active, QPalette::Mid},
    {COLOR_WINDOW, QPalette::Active, QPalette::Base},
    {COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text},
    {COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
    {COLOR_BTNFACE, QPalette::Active, QPalette::Button},
    {COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark},
    {COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text},
    {COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
    {COLOR_INACTIVECAPTIONTEXT, QPalette::Active, QPalette::WindowText},
    {COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light},
};

} // namespace

COLORREF GetSysColor(int nIndex) {
    const QPalette palette = QApplication::palette();
    for (const PaletteColour& entry : kPaletteColours) {
        if (entry.index == nIndex) {
            const QColor colour = palette.color(entry.group, entry.role);
            return RGB(colour.red(), colour.green(), colour.blue());
        }
    }
    return RGB(0, 0, 0);
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    default:
        return 0;
    }
}
