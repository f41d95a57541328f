#include "ListTestSupport.h"

#include <gtest/gtest.h>

namespace {

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
        EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), c.selectedAfter);
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
        ListHarness harness(0);
        for (std::size_t column = 0; column < c.active.size(); ++column)
            harness.list->InsertColumn(static_cast<int>(column), "c", c.active[column] == '1', LVCFMT_LEFT,
                                       50, static_cast<int>(column));
        harness.list->m_nCurColumn = c.current;
        c.step > 0 ? harness.list->NextColumn() : harness.list->PrevColumn();
        EXPECT_EQ(harness.list->m_nCurColumn, c.expected) << c.active << " " << c.current << " " << c.step;
    }
}

// A click makes an active cell current and selects; inactive cells and the space past the last
// column leave the current column alone.
TEST(ListInput, ClickMakesAnActiveCellCurrent) {
    ListHarness harness(0);
    for (int column = 0; column < 3; ++column)
        harness.list->InsertColumn(column, "c", column != 1, LVCFMT_LEFT, 100, column);
    harness.AddRows({"a", "b"});
    harness.Focus();
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, harness.Cell(1, 2).center());
    EXPECT_EQ(harness.list->m_nCurColumn, 2);
    EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), 1);
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, harness.Cell(0, 1).center());
    EXPECT_EQ(harness.list->m_nCurColumn, 2);
    EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(harness.list->SubItemFromPoint(0, CPoint(350, harness.Cell(0, 0).center().y())), -1);
}

} // namespace
