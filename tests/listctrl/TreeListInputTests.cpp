#include "ListTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// With the default metrics the button box of a level-0 row is 16 x 16 around the drawn button.
QRect ButtonBox(const CTreeListCtrl& list, int row) {
    CRect bounds;
    list.GetItemRect(row, &bounds, LVIR_BOUNDS);
    const int h = list.m_cxButton / 2;
    const int left = bounds.left + list.m_nLineOffset + list.m_nMargin - h + list.TreeIndent(0) - 4;
    const int top = bounds.top + h - 3;
    return QRect(left, top, list.m_cxButton + 7, list.m_cxButton + 7);
}

struct ButtonClick {
    const char* name;
    QPoint offset; // from the box's top-left corner
    bool toggles;
};

class ButtonHitBox : public ::testing::TestWithParam<ButtonClick> {};

TEST_P(ButtonHitBox, TogglesOnlyInsideTheBox) {
    ListHarness harness(2);
    harness.Init();
    harness.AddRows({{1, "parent", 0, TRUE}, {2, "other"}});
    harness.Focus();
    const QRect box = ButtonBox(*harness.list, 0);
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, box.topLeft() + GetParam().offset);
    const bool expanded = harness.list->GetItemState(0, TLIS_EXPANDED) != 0;
    EXPECT_EQ(expanded, GetParam().toggles);
    EXPECT_EQ(harness.parent.Sent().size(), GetParam().toggles ? 1u : 0u);
    // A click on the button neither selects nor moves the current column.
    EXPECT_EQ(harness.list->GetSelectedCount(), GetParam().toggles ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ButtonHitBox,
                         ::testing::Values(ButtonClick{"TopLeftCorner", {0, 0}, true},
                                           ButtonClick{"Centre", {8, 8}, true},
                                           ButtonClick{"RightmostColumn", {15, 8}, true},
                                           ButtonClick{"RightOfTheBox", {16, 8}, false},
                                           ButtonClick{"LeftOfTheBox", {-1, 8}, false}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListButtons, ExpandMessageSaysNowExpandedAndFromWhere) {
    ListHarness harness(1);
    harness.Init();
    harness.AddRows({{5, "parent", 0, TRUE}});
    harness.Focus();
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, ButtonBox(*harness.list, 0).center());
    ASSERT_EQ(harness.parent.messages.size(), 1u);
    const auto& expand = harness.parent.messages[0];
    EXPECT_EQ(expand.message, WM_LISTCTRL_EXPAND);
    EXPECT_EQ(expand.wParam, MAKEWPARAM(1, 0));
    EXPECT_EQ(expand.notify.nId, 5);
    EXPECT_EQ(expand.notify.nColumn, 0);
}

TEST(TreeListButtons, ClickInButtonBoxOfRowWithoutChildrenChangesNothing) {
    ListHarness harness(2);
    harness.Init();
    harness.AddRows({{1, "leaf"}});
    harness.Focus();
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, ButtonBox(*harness.list, 0).center());
    EXPECT_EQ(harness.list->GetSelectedCount(), 0u);
    EXPECT_EQ(harness.list->m_nCurColumn, -1);
    EXPECT_THAT(harness.parent.Sent(), IsEmpty());
}

struct CheckCase {
    const char* name;
    LRESULT parentAnswer;
    UINT checkedAfter;
};

class CheckToggle : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckToggle, AsksTheParentFirst) {
    ListHarness harness(1);
    harness.list->m_bCheckBoxes = TRUE;
    harness.list->m_bButtons = FALSE;
    harness.Init();
    harness.AddRows({{1, "box"}});
    harness.Focus();
    harness.parent.answers[WM_LISTCTRL_CHECK] = GetParam().parentAnswer;
    CRect bounds;
    harness.list->GetItemRect(0, &bounds, LVIR_BOUNDS);
    // The box starts 3 pixels after the margin and is 11 pixels wide.
    const int boxLeft = bounds.left + harness.list->m_nMargin + 3;
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, QPoint(boxLeft + 5, bounds.top + 2));
    ASSERT_THAT(harness.parent.Sent(), ElementsAre(WM_LISTCTRL_CHECK));
    EXPECT_EQ(harness.parent.messages[0].wParam, 1u);
    EXPECT_EQ(harness.list->GetCheck(0), GetParam().checkedAfter);
    EXPECT_EQ(harness.list->GetSelectedCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckToggle,
                         ::testing::Values(CheckCase{"ParentAgrees", 0, TLIS_CHECKED},
                                           CheckCase{"ParentRefuses", 1, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListChecks, ClickBesideTheBoxSelectsInstead) {
    ListHarness harness(1);
    harness.list->m_bCheckBoxes = TRUE;
    harness.list->m_bButtons = FALSE;
    harness.Init();
    harness.AddRows({{1, "box"}});
    harness.Focus();
    CRect bounds;
    harness.list->GetItemRect(0, &bounds, LVIR_BOUNDS);
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {},
                      QPoint(bounds.left + harness.list->m_nMargin + 3 + 11, bounds.top + 2));
    EXPECT_THAT(harness.parent.Sent(), IsEmpty());
    EXPECT_EQ(harness.list->GetSelectedCount(), 1u);
}

TEST(TreeListClicks, ClickOnAnActiveCellMakesItCurrent) {
    ListHarness harness(3);
    harness.list->m_bButtons = FALSE;
    harness.Init();
    harness.AddRows({{1, "a"}, {2, "b"}});
    harness.Focus();
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, harness.CellCentre(1, 2));
    EXPECT_EQ(harness.list->m_nCurColumn, 2);
    EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), 1);
}

TEST(TreeListClicks, DoubleClickTellsTheParentAndStillSelects) {
    ListHarness harness(3);
    harness.list->m_bButtons = FALSE;
    harness.Init();
    harness.AddRows({{1, "a"}, {9, "b"}});
    harness.Focus();
    QTest::mouseDClick(harness.list->viewport(), Qt::LeftButton, {}, harness.CellCentre(1, 1));
    const auto sent = harness.parent.Sent();
    ASSERT_EQ(std::count(sent.begin(), sent.end(), WM_LISTCTRL_DBLCLK), 1);
    const auto& dblclk = harness.parent.messages.back();
    EXPECT_EQ(dblclk.notify.nId, 9);
    EXPECT_EQ(dblclk.notify.nColumn, 1);
    EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), 1);
}

void SendKeyboardContextMenu(QWidget* viewport) {
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), viewport->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(viewport, &event);
}

TEST(TreeListContextMenu, FromKeysWithoutSelectionSendsMinusOnesAndNoBlock) {
    ListHarness harness(2);
    harness.Init();
    harness.AddRows({{1, "a"}});
    harness.Focus();
    SendKeyboardContextMenu(harness.list->viewport());
    ASSERT_THAT(harness.parent.Sent(), ElementsAre(WM_LISTCTRL_CONTEXTMENU));
    EXPECT_EQ(harness.parent.messages[0].wParam, 0xFFFFFFFFu);
    EXPECT_FALSE(harness.parent.messages[0].hasNotify);
}

TEST(TreeListContextMenu, FromKeysWithSelectionPointsAtTheMiddleOfTheFirstColumn) {
    ListHarness harness(3);
    harness.Init();
    harness.AddRows({{1, "a"}, {4, "b"}});
    harness.Focus();
    harness.Select(1);
    SendKeyboardContextMenu(harness.list->viewport());
    ASSERT_THAT(harness.parent.Sent(), ElementsAre(WM_LISTCTRL_CONTEXTMENU));
    CRect bounds;
    harness.list->GetItemRect(1, &bounds, LVIR_BOUNDS);
    const QPoint expected =
        harness.list->viewport()->mapToGlobal(QPoint(100 / 2, (bounds.top + bounds.bottom) / 2));
    const WPARAM wParam = harness.parent.messages[0].wParam;
    EXPECT_EQ(static_cast<int>(wParam & 0xFFFF), expected.x());
    EXPECT_EQ(static_cast<int>(wParam >> 16), expected.y());
    ASSERT_TRUE(harness.parent.messages[0].hasNotify);
    EXPECT_EQ(harness.parent.messages[0].notify.nId, 4);
    EXPECT_EQ(harness.parent.messages[0].notify.nColumn, -1);
}

TEST(TreeListContextMenu, FromKeysWithCurrentColumnPointsAtTheCurrentCell) {
    ListHarness harness(3);
    harness.Init();
    harness.AddRows({{1, "a"}});
    harness.Focus();
    harness.Select(0);
    harness.list->m_nCurColumn = 2;
    SendKeyboardContextMenu(harness.list->viewport());
    ASSERT_EQ(harness.parent.messages.size(), 1u);
    const QPoint expected = harness.list->viewport()->mapToGlobal(harness.CellCentre(0, 2));
    const WPARAM wParam = harness.parent.messages[0].wParam;
    EXPECT_EQ(static_cast<int>(wParam & 0xFFFF), expected.x());
    EXPECT_EQ(static_cast<int>(wParam >> 16), expected.y());
    EXPECT_EQ(harness.parent.messages[0].notify.nColumn, 2);
}

// What one key press does with a row selected (or not), given the parent's answer.
struct KeyCase {
    const char* name;
    bool rowSelected;
    int key;
    Qt::KeyboardModifiers modifiers;
    LRESULT parentAnswer;
    std::vector<UINT> sent;
    int selectedAfter; // first selected row afterwards
};

class KeysAndCharacters : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeysAndCharacters, AreSwallowedOrForwarded) {
    ListHarness harness(2);
    harness.Init();
    harness.AddRows({{1, "alpha"}, {2, "bravo"}, {3, "+plus"}, {4, "charlie"}});
    harness.Focus();
    const KeyCase& c = GetParam();
    if (c.rowSelected) {
        harness.Select(0);
    } else {
        harness.list->selectionModel()->setCurrentIndex(harness.list->model()->index(0, 0),
                                                        QItemSelectionModel::NoUpdate);
    }
    harness.parent.answers[WM_LISTCTRL_KEYDOWN] = c.parentAnswer;
    harness.parent.answers[WM_LISTCTRL_CHAR] = c.parentAnswer;
    QTest::keyClick(harness.list, static_cast<Qt::Key>(c.key), c.modifiers);
    EXPECT_EQ(harness.parent.Sent(), c.sent);
    EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), c.selectedAfter);
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeysAndCharacters,
    ::testing::Values(
        KeyCase{"DownGoesToParentThenMovesSelection", true, Qt::Key_Down, kNone, 0, {WM_LISTCTRL_KEYDOWN}, 1},
        KeyCase{"DownClaimedByParentStays", true, Qt::Key_Down, kNone, 1, {WM_LISTCTRL_KEYDOWN}, 0},
        KeyCase{"DownWithoutSelectionIsTheListsOwn", false, Qt::Key_Down, kNone, 0, {}, 1},
        KeyCase{"LeftAndRightStayWithTheControl", true, Qt::Key_Right, kNone, 0, {}, 0},
        KeyCase{"LetterGoesToParentThenSearch",
                true,
                Qt::Key_B,
                kNone,
                0,
                {WM_LISTCTRL_KEYDOWN, WM_LISTCTRL_CHAR},
                1},
        KeyCase{"LetterClaimedByParentDoesNotSearch",
                true,
                Qt::Key_B,
                kNone,
                1,
                {WM_LISTCTRL_KEYDOWN, WM_LISTCTRL_CHAR},
                0},
        KeyCase{"PlusWithSelectionIsSwallowed", true, Qt::Key_Plus, kNone, 0, {WM_LISTCTRL_KEYDOWN}, 0},
        KeyCase{"PlusWithoutSelectionSearches", false, Qt::Key_Plus, kNone, 0, {}, 2},
        KeyCase{"KeypadPlusOnLeafSendsNothing", true, Qt::Key_Plus, Qt::KeypadModifier, 0, {}, 0},
        KeyCase{"KeypadMinusOnCollapsedSendsNothing", true, Qt::Key_Minus, Qt::KeypadModifier, 0, {}, 0}),
    [](const auto& info) { return info.param.name; });

TEST(TreeListKeys, LeftAndRightKeepTheOnlyActiveColumnCurrent) {
    ListHarness harness(0);
    harness.Init();
    harness.list->InsertColumn(0, "a", 0, kColumnBackControl, TRUE, LVCFMT_LEFT, 60, 0);
    harness.list->InsertColumn(1, "b", 0, kColumnBackControl, FALSE, LVCFMT_LEFT, 60, 1);
    harness.AddRows({{1, "a"}});
    harness.Focus();
    harness.Select(0);
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) {
        QTest::keyClick(harness.list, key);
        EXPECT_EQ(harness.list->m_nCurColumn, 0);
    }
}

struct KeypadCase {
    const char* name;
    BOOL expanded;
    Qt::Key key;
    std::vector<UINT> sent;
    WPARAM wParam;
};

class KeypadExpanding : public ::testing::TestWithParam<KeypadCase> {};

TEST_P(KeypadExpanding, TogglesOnlyTowardsTheOtherState) {
    ListHarness harness(1);
    harness.Init();
    harness.AddRows({{1, "parent", 0, TRUE, GetParam().expanded}, {2, "child", 1}});
    harness.Focus();
    harness.Select(0);
    QTest::keyClick(harness.list, GetParam().key, Qt::KeypadModifier);
    EXPECT_EQ(harness.parent.Sent(), GetParam().sent);
    if (!GetParam().sent.empty()) {
        EXPECT_EQ(harness.parent.messages[0].wParam, GetParam().wParam);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeypadExpanding,
    ::testing::Values(
        KeypadCase{"PlusExpandsCollapsed", FALSE, Qt::Key_Plus, {WM_LISTCTRL_EXPAND}, MAKEWPARAM(1, 0)},
        KeypadCase{"StarExpandsAll", FALSE, Qt::Key_Asterisk, {WM_LISTCTRL_EXPAND}, MAKEWPARAM(1, 1)},
        KeypadCase{"MinusCollapsesExpanded", TRUE, Qt::Key_Minus, {WM_LISTCTRL_EXPAND}, MAKEWPARAM(0, 0)},
        KeypadCase{"PlusOnExpandedDoesNothing", TRUE, Qt::Key_Plus, {}, 0},
        KeypadCase{"MinusOnCollapsedDoesNothing", FALSE, Qt::Key_Minus, {}, 0}),
    [](const auto& info) { return info.param.name; });

} // namespace
