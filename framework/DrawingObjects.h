#pragma once

// Pens, brushes, fonts and bitmaps: plain values selected into a device context.

#include "framework/Afx.h"

#include <QFont>
#include <QImage>
#include <cstdlib>

class CDC;
class QFontMetricsF;

// Pen styles
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
// Background modes: whether the gaps of text and patterned lines are filled.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr int LF_FACESIZE = 32;
struct LOGFONT {
    LONG lfHeight = 0; // negative: character height in device units
    LONG lfWidth = 0;  // average character width, 0 = the face's own
    char lfFaceName[LF_FACESIZE] = {};
};

class CPen {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor)
        : m_nStyle(nPenStyle), m_nWidth(std::max(1, nWidth)), m_crColor(crColor) {}
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;

    // A solid line one pixel wide: the lines stored straight into images.
    bool IsSolidHairline() const { return m_nStyle == PS_SOLID && m_nWidth <= 1; }
};

class CBrush {
public:
    explicit CBrush(COLORREF crColor) : m_crColor(crColor) {}
    COLORREF m_crColor = 0;
};

class CFont {
public:
    // The font of the application's family or lfFaceName, |lfHeight| pixels high, stretched to
    // the average width lfWidth.
    BOOL CreateFontIndirect(const LOGFONT* pLogFont);
    QFont m_font;
};

class CBitmap {
public:
    // An image of the size, with the resolution of pDC's device.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    // Whether the bitmap already is what CreateCompatibleBitmap would make, contents aside.
    bool IsCompatible(CDC* pDC, int nWidth, int nHeight) const;
    QImage m_image;
};

// What the drawing files share.
namespace drawing {
QColor ToQColor(COLORREF colour);
// n / d rounded to the nearest whole number, halves away from zero, as the platform maps. Inline:
// the mapping asks it for every point drawn.
inline LONG DivideRounded(long long n, long long d) {
    if (d == 0)
        return 0;
    if (d < 0)
        n = -n, d = -d;
    return static_cast<LONG>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}
// The average character width as the platform measures it for a face.
double AverageCharWidth(const QFontMetricsF& metrics);
QFont ApplicationFont();
int DotsPerMetre(int dotsPerInch);
// The stock objects: a black pen and the application's font.
CPen& StockBlackPen();
CFont& StockFont();

// A styled pen's pattern in pixels along the line: the platform's cosmetic dotted pen is three
// on, three off; the dashed one is long enough to tell from it at a glance.
struct LinePattern {
    int on;
    int period;
};
constexpr LinePattern kDotPattern{3, 6};
constexpr LinePattern kDashPattern{8, 12};
constexpr LinePattern PatternOf(int penStyle) {
    return penStyle == PS_DASH ? kDashPattern : kDotPattern;
}

// Every pixel of the line from `from` towards `to`, without `to` itself.
template <typename Visit> void WalkLinePixels(QPoint from, QPoint to, Visit visit) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i)
        visit(i, QPoint(from.x() + DivideRounded(static_cast<long long>(dx) * i, steps),
                        from.y() + DivideRounded(static_cast<long long>(dy) * i, steps)));
}
} // namespace drawing
