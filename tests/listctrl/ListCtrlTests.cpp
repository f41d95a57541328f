// The tree list control: its keys, clicks and columns, and how its rows are painted.
#include "framework/SystemColours.h"
#include "listctrl/TreeListCtrl.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A parent window that counts the key-down notifications.
class ListParent : public QWidget, public CListNotifyTarget {
public:
    LRESULT OnListNotify(UINT, NMHDR* header) override {
        keyDowns += header->code == LVN_KEYDOWN;
        return 0;
    }
    int keyDowns = 0;
};

// A list of columns 100 wide, every one active, on a background, inside a window.
class ListHarness {
public:
    explicit ListHarness(int columns = 3, COLORREF background = kDefaultColour)
        : ListHarness(std::string(static_cast<std::size_t>(columns), '1'), 100, background) {}
    // A column of this width for each character of active, '1' for an active one.
    ListHarness(const std::string& active, int width, COLORREF background = kDefaultColour) {
        parent.resize(420, 240);
        list = new CTreeListCtrl(&parent);
        list->Create(WS_VISIBLE, CRect(0, 0, 420, 240), &parent, 1);
        list->m_crBackground = background;
        for (std::size_t column = 0; column < active.size(); ++column)
            list->InsertColumn(static_cast<int>(column), "Column " + std::to_string(column),
                               active[column] == '1', LVCFMT_LEFT, width);
        list->Init();
    }

    // Rows whose other cells read "<text> <column>".
    void AddRows(const std::vector<std::string>& texts, COLORREF colour = RGB(255, 0, 0)) {
        for (const std::string& text : texts) {
            const int index = list->InsertItem(-1, text, colour);
            for (int column = 1; column < list->GetColumnCount(); ++column)
                list->CListCtrl::SetItemText(index, column, text + " " + std::to_string(column));
        }
    }
    void Focus() {
        parent.show();
        parent.activateWindow();
        QApplication::setActiveWindow(&parent);
        (void)QTest::qWaitForWindowActive(&parent);
        list->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void Select(int row) {
        list->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    QRect Cell(int row, int column) const {
        CRect cell;
        list->GetCellRect(row, column, &cell);
        return QRect(cell.left, cell.top, cell.Width(), cell.Height());
    }
    QImage Render() const { return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ListParent parent;
    CTreeListCtrl* list = nullptr;
};

inline QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// What one key press does with a row selected (or not): whether the parent hears it (LVN_KEYDOWN),
// the selected row and the current column afterwards. Keys the list does not use go on to the
// parent and the tree view.
TEST(ListInput, KeysAndCharactersAreTheListsOrGoOnToTheParent) {
    constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
    const struct {
        bool rowSelected;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool parentHears;
        int selectedAfter;
        int columnAfter;
    } cases[] = {
        {true, Qt::Key_Down, kNone, true, 1, -1},
        {true, Qt::Key_Right, kNone, false, 0, 0}, // the current column moves
        {true, Qt::Key_Left, kNone, false, 0, 1},  // backwards, round to the last
        {false, Qt::Key_Right, kNone, true, -1, -1},
        {true, Qt::Key_B, kNone, true, 1, -1},     // searches
        {true, Qt::Key_Plus, kNone, true, 0, -1},  // swallowed with a selection
        {false, Qt::Key_Plus, kNone, true, 2, -1}, // searches without one
        {true, Qt::Key_Plus, Qt::KeypadModifier, false, 0, -1},
        {true, Qt::Key_Minus, Qt::KeypadModifier, false, 0, -1},
    };
    for (const auto& c : cases) {
        ListHarness harness(2);
        harness.AddRows({"alpha", "bravo", "+plus", "charlie"});
        harness.Focus();
        if (c.rowSelected)
            harness.Select(0);
        else
            harness.list->selectionModel()->setCurrentIndex(harness.list->model()->index(0, 0),
                                                            QItemSelectionModel::NoUpdate);
        QTest::keyClick(harness.list, c.key, c.modifiers);
        SCOPED_TRACE(testing::Message() << "key " << c.key << " selected " << c.rowSelected);
        EXPECT_EQ(harness.parent.keyDowns, c.parentHears ? 1 : 0);
        EXPECT_EQ(harness.list->GetNextSelectedItem(-1), c.selectedAfter);
        EXPECT_EQ(harness.list->m_nCurColumn, c.columnAfter);
    }
}

// Left and right walk to the next active column, wrapping round; from none they start at the edge
// they walk away from, and stay on none when no column is active.
TEST(ListInput, CurrentColumnStepsToTheNextActiveColumn) {
    const struct {
        std::string active; // '1' for each active column
        int current;
        int step;
        int expected;
    } cases[] = {{"10000", -1, +1, 0}, {"10000", 0, -1, 0}, {"000", -1, +1, -1}, {"000", -1, -1, -1},
                 {"10010", 3, +1, 0},  {"10010", 0, -1, 3}, {"10010", 0, +1, 3}, {"10010", 3, -1, 0},
                 {"111", 7, +1, 0},    {"111", -1, -1, 2},  {"", 2, +1, -1}};
    for (const auto& c : cases) {
        ListHarness harness(c.active, 50);
        harness.list->m_nCurColumn = c.current;
        c.step > 0 ? harness.list->NextColumn() : harness.list->PrevColumn();
        EXPECT_EQ(harness.list->m_nCurColumn, c.expected) << c.active << " " << c.current << " " << c.step;
    }
}

// A click makes an active cell current and selects; inactive cells and the space past the last
// column leave the current column alone.
TEST(ListInput, ClickMakesAnActiveCellCurrent) {
    ListHarness harness("101", 100);
    harness.AddRows({"a", "b"});
    harness.Focus();
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, harness.Cell(1, 2).center());
    EXPECT_EQ(harness.list->m_nCurColumn, 2);
    EXPECT_EQ(harness.list->GetNextSelectedItem(-1), 1);
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, harness.Cell(0, 1).center());
    EXPECT_EQ(harness.list->m_nCurColumn, 2);
    EXPECT_EQ(harness.list->GetNextSelectedItem(-1), 0);
    EXPECT_EQ(harness.list->SubItemFromPoint(0, CPoint(350, harness.Cell(0, 0).center().y())), -1);
}

constexpr COLORREF kRed = RGB(255, 0, 0);

// A row's record (its colour) outlives the columns it was shown in; a list without columns takes
// no rows.
TEST(ListRows, RecordsStayWithTheirRowsWhateverTheColumns) {
    ListHarness harness(2);
    harness.AddRows({"a", "b"}, kRed);
    while (harness.list->DeleteColumn(0)) {
    }
    EXPECT_EQ(harness.list->InsertItem(0, "c", kRed), -1);
    harness.list->InsertColumn(0, "new", TRUE, LVCFMT_LEFT, 100);
    ASSERT_EQ(harness.list->GetItemCount(), 2);
    EXPECT_EQ(harness.list->GetItemInfo(1)->crText, kRed);
}

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
    harness.list->InsertColumn(0, "a", TRUE, LVCFMT_LEFT, 60);
    harness.list->InsertColumn(1, "b", FALSE, format, width);
    harness.list->InsertItem(-1, "x", kRed);
    harness.list->CListCtrl::SetItemText(0, 1, text);
    return harness.Render().copy(harness.Cell(0, 1));
}

// Text too wide for its cell (which keeps cw / 3 left and cw / 2 + 2 right) is the longest prefix
// that fits with "...", left-aligned whatever the column says; at least one character stays.
TEST(ListPainting, TooWideTextBecomesTheLongestFittingPrefixWithEllipsis) {
    ListHarness metrics(0);
    const int cw = metrics.list->m_tm.tmAveCharWidth;
    const QFontMetrics font(QApplication::font());
    // A cell exactly wide enough for "Alessandro...", and one pixel narrower.
    const int justFits =
        cw / 3 + font.horizontalAdvance("Alessandro") + font.horizontalAdvance("...") + cw / 2 + 2;
    const struct {
        std::string text;
        int cellWidth;
        std::string shown;
    } cases[] = {{"Alessandro Nannini-Berger", justFits, "Alessandro..."},
                 {"Alessandro Nannini-Berger", justFits - 1, "Alessandr..."},
                 {"W", 8, "W..."},
                 {"Wolfgang", 12, "W..."}};
    for (const auto& [text, cellWidth, shown] : cases)
        EXPECT_EQ(RenderedCell(text, cellWidth, LVCFMT_RIGHT), RenderedCell(shown, cellWidth, LVCFMT_LEFT))
            << shown;
    const QImage fits = RenderedCell("1:23.456", 90, LVCFMT_RIGHT);
    EXPECT_GT(InkSpan(fits, fits.rect()).first, 30) << "right-aligned while it fits";
    EXPECT_GE(InkSpan(fits, fits.rect()).second, 90 - 12);
}

} // namespace
