#include "ListTestSupport.h"
#include "framework/SystemColours.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// Pixels of the image within rect whose colour is within tolerance of colour.
int CountNear(const QImage& image, const QRect& rect, const QColor& colour, int tolerance) {
    int count = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) <= tolerance &&
                     std::abs(pixel.green() - colour.green()) <= tolerance &&
                     std::abs(pixel.blue() - colour.blue()) <= tolerance;
        }
    return count;
}

// Leftmost and rightmost columns of pixels that are not black.
std::pair<int, int> InkSpan(const QImage& image, const QRect& rect) {
    int left = rect.right() + 1;
    int right = rect.left() - 1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::black)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

// Each row's text in its own colour, transparently over the background (no window-coloured
// boxes); the name starts after the margin and half a character.
TEST(ListPainting, RowsInTheirOwnColoursOnTheBackground) {
    for (const COLORREF setting : {RGB(0, 0, 0), kDefaultColour}) {
        ListHarness harness(3, setting);
        const COLORREF colours[] = {kRed, RGB(0, 255, 0)};
        harness.AddRows({"Driver One"}, colours[0]);
        harness.AddRows({"Driver Two"}, colours[1]);
        const QImage image = harness.Render();
        const QColor background = ToQColor(setting != kDefaultColour ? setting : GetSysColor(COLOR_WINDOW));
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column) {
                const QRect cell = harness.Cell(row, column);
                EXPECT_GT(CountNear(image, cell, ToQColor(colours[row]), 60), 5) << row << "," << column;
                EXPECT_EQ(CountNear(image, cell, ToQColor(colours[1 - row]), 60), 0) << row << "," << column;
                EXPECT_GT(CountNear(image, cell, background, 0), cell.width() * cell.height() / 2);
            }
        EXPECT_EQ(image.pixelColor(5, image.height() - 2), background) << "the erase below the rows";
        if (setting == kDefaultColour)
            continue;
        EXPECT_EQ(CountNear(image, image.rect(), ToQColor(GetSysColor(COLOR_WINDOW)), 0), 0);
        // The glyph's side bearing may add a pixel or two.
        const int left = InkSpan(image, harness.Cell(0, 0)).first;
        const int cw = harness.list->m_tm.tmAveCharWidth;
        EXPECT_GE(left, 2 + cw / 2);
        EXPECT_LE(left, 2 + cw / 2 + 2);
    }
}

// The first column of the selected row shows the highlight while the list has the focus; the
// current cell shows it with or without.
TEST(ListPainting, SelectedRowHighlightsTheFirstColumnWithFocusAndTheCurrentCell) {
    const struct {
        bool focused;
        int currentColumn;
        std::vector<int> highlighted;
    } cases[] = {{true, -1, {0}}, {false, -1, {}}, {false, 2, {2}}};
    for (const auto& c : cases) {
        ListHarness harness(3);
        harness.AddRows({"Selected", "Other"});
        harness.parent.show();
        if (c.focused)
            harness.Focus();
        harness.Select(0);
        harness.list->m_nCurColumn = c.currentColumn;
        const QImage image = harness.Render();
        const QColor highlight = ToQColor(GetSysColor(COLOR_HIGHLIGHT));
        std::vector<int> highlighted;
        for (int column = 0; column < 3; ++column) {
            if (CountNear(image, harness.Cell(0, column), highlight, 0) > 20)
                highlighted.push_back(column);
            EXPECT_EQ(CountNear(image, harness.Cell(1, column), highlight, 0), 0);
        }
        EXPECT_EQ(highlighted, c.highlighted) << c.focused << " " << c.currentColumn;
    }
}

// A row of a list whose second column, of the given width and format, shows text.
QImage RenderedCell(const std::string& text, int width, int format) {
    ListHarness harness(0, RGB(0, 0, 0));
    harness.list->InsertColumn(0, "a", TRUE, LVCFMT_LEFT, 60, 0);
    harness.list->InsertColumn(1, "b", FALSE, format, width, 1);
    harness.list->InsertItem(-1, "x", kRed);
    harness.list->CListCtrl::SetItemText(0, 1, text);
    return harness.Render().copy(harness.Cell(0, 1));
}

// Text too wide for its cell (which keeps cw / 3 left and cw / 2 + 2 right) is the longest prefix
// that fits with "...", left-aligned whatever the column says.
TEST(ListPainting, TooWideTextBecomesTheLongestFittingPrefixWithEllipsis) {
    ListHarness metrics(0);
    const int cw = metrics.list->m_tm.tmAveCharWidth;
    const QFontMetrics font(QApplication::font());
    const struct {
        std::string text;
        int cellWidth;
    } cases[] = {{"Alessandro Nannini-Berger", 80}, {"W", 8}, {"Wolfgang", 12}};
    for (const auto& [text, cellWidth] : cases) {
        const int avail = cellWidth - cw / 3 - (cw / 2 + 2);
        std::size_t kept = std::max<std::size_t>(1, text.size() - 1);
        while (kept > 1 && font.horizontalAdvance(QString::fromStdString(text.substr(0, kept))) +
                                   font.horizontalAdvance("...") >
                               avail)
            --kept;
        const std::string expected = text.substr(0, kept) + "...";
        EXPECT_EQ(RenderedCell(text, cellWidth, LVCFMT_RIGHT), RenderedCell(expected, cellWidth, LVCFMT_LEFT))
            << expected;
    }
    const QImage fits = RenderedCell("1:23.456", 90, LVCFMT_RIGHT);
    EXPECT_GT(InkSpan(fits, fits.rect()).first, 30) << "right-aligned while it fits";
    EXPECT_GE(InkSpan(fits, fits.rect()).second, 90 - 12);
}

} // namespace
