#include "ListTestSupport.h"
#include "framework/SystemColours.h"

#include <QApplication>
#include <QFontMetrics>
#include <gmock/gmock.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The driver list's settings, initialised: a flat list without decorations on the background.
struct FlatList : ListHarness {
    explicit FlatList(int columns, COLORREF background = kBlack, BOOL fitText = TRUE) : ListHarness(columns) {
        list->m_bButtons = FALSE;
        list->m_bLines = FALSE;
        list->m_bVertGrid = FALSE;
        list->m_bHorzGrid = FALSE;
        list->m_bLinesAtRoot = FALSE;
        list->m_crBackground = background;
        list->m_bFitText = fitText;
        Init();
    }
};

QRect RowRect(const CTreeListCtrl& list, int row) {
    CRect bounds;
    list.GetItemRect(row, &bounds, LVIR_BOUNDS);
    return QRect(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

QRect CellRect(const CTreeListCtrl& list, int row, int column) {
    CRect cell;
    list.GetCellRect(row, column, &cell);
    return QRect(cell.left, cell.top, cell.Width(), cell.Height());
}

// Leftmost and rightmost columns of pixels that differ from the background.
std::pair<int, int> InkSpan(const QImage& image, const QRect& rect, const QColor& background) {
    int left = rect.right() + 1;
    int right = rect.left() - 1;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (image.pixelColor(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

struct BackgroundCase {
    const char* name;
    COLORREF control; // m_crBackground
};

class FlatRowsPaint : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(FlatRowsPaint, EachInItsOwnColourOnTheBackground) {
    FlatList harness(3, GetParam().control);
    const COLORREF colours[] = {kRed, RGB(0, 255, 0)};
    harness.AddRows(
        {{1, "Driver One", 0, FALSE, FALSE, colours[0]}, {2, "Driver Two", 0, FALSE, FALSE, colours[1]}});
    const QImage image = harness.Render();
    const QColor background = ToQColor(ResolveBackground(kColumnBackControl, GetParam().control));
    const QColor window = ToQColor(GetSysColor(COLOR_WINDOW));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect cell = CellRect(*harness.list, row, column);
            EXPECT_GT(CountNear(image, cell, ToQColor(colours[row]), 60), 5) << row << "," << column;
            EXPECT_EQ(CountNear(image, cell, ToQColor(colours[1 - row]), 60), 0) << row << "," << column;
            EXPECT_GT(CountNear(image, cell, background, 0), cell.width() * cell.height() / 2);
            // Text goes transparently over the fill: no window-coloured boxes behind the glyphs.
            if (background != window) {
                EXPECT_EQ(CountNear(image, cell, window, 0), 0);
            }
        }
    }
    // Below the rows the erase shows the same background.
    EXPECT_EQ(image.pixelColor(5, image.height() - 2), background);
}

INSTANTIATE_TEST_SUITE_P(Cases, FlatRowsPaint,
                         ::testing::Values(BackgroundCase{"OnBlack", kBlack},
                                           BackgroundCase{"OnTheWindowColour", kDefaultColour}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListPainting, NameStartsAfterMarginAndHalfACharacter) {
    FlatList harness(1);
    harness.AddRows({{1, "W", 0, FALSE, FALSE, kRed}});
    const QImage image = harness.Render();
    const auto [left, right] = InkSpan(image, RowRect(*harness.list, 0), QColor(Qt::black));
    const int cw = harness.list->GetMetrics().tmAveCharWidth;
    // The glyph's own side bearing may add a pixel or two.
    EXPECT_GE(left, 2 + cw / 2);
    EXPECT_LE(left, 2 + cw / 2 + 2);
}

// Which cells of the selected row show the highlight: the first column only while the list has
// the focus, the current cell with or without it.
struct HighlightCase {
    const char* name;
    bool focused;
    int currentColumn;
    std::vector<int> highlighted;
};

class SelectedRowHighlight : public ::testing::TestWithParam<HighlightCase> {};

TEST_P(SelectedRowHighlight, CoversTheFirstColumnWithFocusOrTheCurrentCell) {
    FlatList harness(3);
    harness.AddRows({{1, "Selected", 0, FALSE, FALSE, kRed}, {2, "Other", 0, FALSE, FALSE, kRed}});
    harness.parent.show();
    if (GetParam().focused)
        harness.Focus();
    harness.Select(0);
    harness.list->m_nCurColumn = GetParam().currentColumn;
    const QImage image = harness.Render();
    const QColor highlight = ToQColor(GetSysColor(COLOR_HIGHLIGHT));
    std::vector<int> highlighted;
    for (int column = 0; column < 3; ++column) {
        const QRect cell = CellRect(*harness.list, 0, column);
        if (CountNear(image, cell, highlight, 0) > 20)
            highlighted.push_back(column);
        EXPECT_EQ(CountNear(image, CellRect(*harness.list, 1, column), highlight, 0), 0);
    }
    EXPECT_EQ(highlighted, GetParam().highlighted);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectedRowHighlight,
                         ::testing::Values(HighlightCase{"FirstColumnWithFocus", true, -1, {0}},
                                           HighlightCase{"NothingWithoutFocus", false, -1, {}},
                                           HighlightCase{"CurrentCellWithoutFocus", false, 2, {2}}),
                         [](const auto& info) { return info.param.name; });

// Renders a one-column list of the given width showing text, and returns its row.
QImage RenderedRow(const std::string& text, int width, int format) {
    FlatList harness(0);
    harness.list->InsertColumn(0, "a", 0, kColumnBackControl, TRUE, LVCFMT_LEFT, 60, 0);
    harness.list->InsertColumn(1, "b", 0, kColumnBackControl, FALSE, format, width, 1);
    harness.list->InsertItem(-1, 1, "x", 0, FALSE, FALSE, FALSE, FALSE, kRed);
    harness.list->CListCtrl::SetItemText(0, 1, text);
    return harness.Render().copy(CellRect(*harness.list, 0, 1));
}

// The text rectangle of a cell leaves cw / 3 on the left and cw / 2 + 2 on the right.
int CellTextWidth(int cellWidth) {
    ListHarness harness(0);
    harness.Init();
    const int cw = harness.list->GetMetrics().tmAveCharWidth;
    return cellWidth - cw / 3 - (cw / 2 + 2);
}

std::string LongestFittingPrefix(const std::string& text, int avail) {
    const QFontMetrics metrics(QApplication::font());
    const int ellipsis = metrics.horizontalAdvance("...");
    for (std::size_t k = text.size() - 1; k >= 1; --k) {
        if (metrics.horizontalAdvance(QString::fromStdString(text.substr(0, k))) + ellipsis <= avail)
            return text.substr(0, k) + "...";
    }
    return text.substr(0, 1) + "...";
}

struct ShorteningCase {
    const char* name;
    std::string text;
    int cellWidth;
};

class TextShortening : public ::testing::TestWithParam<ShorteningCase> {};

TEST_P(TextShortening, DrawsTheLongestFittingPrefixWithEllipsis) {
    const ShorteningCase& c = GetParam();
    const std::string expected = LongestFittingPrefix(c.text, CellTextWidth(c.cellWidth));
    EXPECT_EQ(RenderedRow(c.text, c.cellWidth, LVCFMT_LEFT), RenderedRow(expected, c.cellWidth, LVCFMT_LEFT))
        << expected;
}

INSTANTIATE_TEST_SUITE_P(Cases, TextShortening,
                         ::testing::Values(ShorteningCase{"LongName", "Alessandro Nannini-Berger", 80},
                                           ShorteningCase{"OneCharacterTooWide", "W", 8},
                                           ShorteningCase{"NothingButTheFirstFits", "Wolfgang", 12}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListPainting, RightAlignmentIsKeptOnlyWhileTheTextFits) {
    const int width = 90;
    const QImage fits = RenderedRow("1:23.456", width, LVCFMT_RIGHT);
    const auto [fitLeft, fitRight] = InkSpan(fits, fits.rect(), QColor(Qt::black));
    EXPECT_GT(fitLeft, width / 3);
    EXPECT_GE(fitRight, width - 12);

    const QImage shortened = RenderedRow("1h23m45.678s and much more", width, LVCFMT_RIGHT);
    const auto [cutLeft, cutRight] = InkSpan(shortened, shortened.rect(), QColor(Qt::black));
    EXPECT_LE(cutLeft, 4);
    (void)cutRight;
}

TEST(TreeListPainting, WithoutFittingTextIsNeitherShortenedNorAligned) {
    FlatList harness(0, kBlack, FALSE);
    harness.list->InsertColumn(0, "a", 0, kColumnBackControl, TRUE, LVCFMT_RIGHT, 40, 0);
    harness.list->InsertColumn(1, "b", 0, kColumnBackControl, FALSE, LVCFMT_LEFT, 200, 1);
    harness.list->InsertItem(-1, 1, "A much longer name than fits", 0, FALSE, FALSE, FALSE, FALSE, kRed);
    const QImage image = harness.Render();
    // The cells painted after the first column cover what runs past it.
    EXPECT_EQ(CountNear(image, CellRect(*harness.list, 0, 1), ToQColor(kRed), 60), 0);
    const auto [left, right] = InkSpan(image, CellRect(*harness.list, 0, 0), QColor(Qt::black));
    EXPECT_LE(left, 2 + harness.list->GetMetrics().tmAveCharWidth / 2 + 2);
    EXPECT_GE(right, 38);
}

TEST(TreeListPainting, CaptionRowIsAButtonFaceBandWithoutHighlight) {
    FlatList harness(3);
    harness.AddRows(
        {{1, "driver", 0, FALSE, FALSE, kRed}, {kCaptionRowId, "Caption", 0, FALSE, FALSE, kRed}});
    harness.Focus();
    harness.Select(1);
    const QImage image = harness.Render();
    const QColor face = ToQColor(GetSysColor(COLOR_BTNFACE));
    const QRect caption = RowRect(*harness.list, 1);
    for (int column = 0; column < 3; ++column) {
        const QRect cell = CellRect(*harness.list, 1, column);
        EXPECT_GT(CountNear(image, cell, face, 0), cell.width() * cell.height() / 2) << column;
    }
    EXPECT_EQ(CountNear(image, caption, ToQColor(GetSysColor(COLOR_HIGHLIGHT)), 0), 0);
    // Its text starts half a character after the row's left edge, before the others' margin.
    const auto [left, right] = InkSpan(image, CellRect(*harness.list, 1, 0), face);
    EXPECT_LE(left, harness.list->GetMetrics().tmAveCharWidth / 2 + 2);
    (void)right;
}

struct TreeCase {
    const char* name;
    BOOL buttons;
    BOOL lines;
    bool buttonShown;
    bool linesShown;
};

class TreeDecorations : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TreeDecorations, AppearOnlyWhenEnabled) {
    ListHarness harness(0);
    harness.list->m_bButtons = GetParam().buttons;
    harness.list->m_bLines = GetParam().lines;
    harness.list->m_bVertGrid = FALSE;
    harness.list->m_bHorzGrid = FALSE;
    harness.Init();
    harness.AddColumns(2, 2, 150);
    harness.AddRows({{1, "parent", 0, TRUE, TRUE}, {2, "child", 1}, {3, "child", 1}, {4, "next", 0}});
    const QImage image = harness.Render();
    const CTreeListCtrl& list = *harness.list;
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));

    // The button: a shadow-framed white box centred on the level-0 tree line, with a black minus.
    const QRect parent = RowRect(list, 0);
    const int x = parent.left() + list.m_nMargin + list.m_nLineOffset;
    const int y = parent.top() + list.GetMetrics().tmHeight / 2;
    const int h = std::min(list.m_cxButtonColumn, list.m_cxButton) / 2;
    const bool frame = image.pixelColor(x - h, y) == shadow && image.pixelColor(x + h, y) == shadow;
    EXPECT_EQ(frame, GetParam().buttonShown);
    EXPECT_EQ(image.pixelColor(x, y) == QColor(Qt::black), GetParam().buttonShown);
    EXPECT_EQ(image.pixelColor(x, y - h / 2) == QColor(Qt::white), GetParam().buttonShown)
        << "expanded: no upright";

    // The level-0 line passes the children on its way to the next top-level row.
    const QRect child = RowRect(list, 1);
    const QRect lineStrip(x, child.top(), 1, child.height());
    EXPECT_EQ(CountNear(image, lineStrip, shadow, 0) > 2, GetParam().linesShown);
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeDecorations,
                         ::testing::Values(TreeCase{"ButtonsAndLines", TRUE, TRUE, true, true},
                                           TreeCase{"LinesOnly", FALSE, TRUE, false, true},
                                           TreeCase{"Neither", FALSE, FALSE, false, false}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListPainting, GridLinesInTheShadowColour) {
    ListHarness harness(3);
    harness.list->m_bButtons = FALSE;
    harness.list->m_bLines = FALSE;
    harness.Init();
    harness.AddRows({{1, "a"}, {2, "b"}});
    const QImage image = harness.Render();
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));
    const QRect cell = CellRect(*harness.list, 0, 1);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.center().y()), shadow);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.bottom()), shadow);
}

} // namespace
