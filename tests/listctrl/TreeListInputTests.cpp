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
    BOOL hasChildren;
    QPoint offset; // from the box's top-left corner
    bool toggles;
    bool selects;
};

class ButtonHitBox : public ::testing::TestWithParam<ButtonClick> {};

TEST_P(ButtonHitBox, TogglesAParentOnlyInsideTheBoxAndSaysSo) {
    const ButtonClick& c = GetParam();
    ListHarness harness(2);
    harness.Prepare({{5, "first", 0, c.hasChildren}, {2, "other"}});
    const QRect box = ButtonBox(*harness.list, 0);
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, box.topLeft() + c.offset);
    EXPECT_EQ(harness.list->GetItemState(0, TLIS_EXPANDED) != 0, c.toggles);
    if (c.toggles) {
        ASSERT_THAT(harness.parent.Sent(), ElementsAre(WM_LISTCTRL_EXPAND));
        EXPECT_EQ(harness.parent.messages[0].wParam, MAKEWPARAM(1, 0)) << "now expanded, one level";
        EXPECT_EQ(harness.parent.messages[0].notify.nId, 5);
        EXPECT_EQ(harness.parent.messages[0].notify.nColumn, 0);
    } else {
        EXPECT_THAT(harness.parent.Sent(), IsEmpty());
    }
    // A click in the box neither selects nor moves the current column, with or without a button.
    EXPECT_EQ(harness.list->GetSelectedCount(), c.selects ? 1u : 0u);
    if (!c.selects) {
        EXPECT_EQ(harness.list->m_nCurColumn, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ButtonHitBox,
                         ::testing::Values(ButtonClick{"TopLeftCorner", TRUE, {0, 0}, true, false},
                                           ButtonClick{"Centre", TRUE, {8, 8}, true, false},
                                           ButtonClick{"RightmostColumn", TRUE, {15, 8}, true, false},
                                           ButtonClick{"RightOfTheBox", TRUE, {16, 8}, false, true},
                                           ButtonClick{"LeftOfTheBox", TRUE, {-1, 8}, false, true},
                                           ButtonClick{"RowWithoutChildren", FALSE, {8, 8}, false, false}),
                         [](const auto& info) { return info.param.name; });

struct CheckCase {
    const char* name;
    int x; // from the box's left edge, which is 3 pixels after the margin; the box is 11 wide
    LRESULT parentAnswer;
    bool asks;
    UINT checkedAfter;
};

class CheckBoxClick : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckBoxClick, AsksTheParentFirstAndBesideTheBoxSelects) {
    const CheckCase& c = GetParam();
    ListHarness harness(1);
    harness.list->m_bCheckBoxes = TRUE;
    harness.list->m_bButtons = FALSE;
    harness.Prepare({{1, "box"}});
    harness.parent.answers[WM_LISTCTRL_CHECK] = c.parentAnswer;
    CRect bounds;
    harness.list->GetItemRect(0, &bounds, LVIR_BOUNDS);
    const int boxLeft = bounds.left + harness.list->m_nMargin + 3;
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, QPoint(boxLeft + c.x, bounds.top + 2));
    EXPECT_EQ(harness.parent.Sent(), c.asks ? std::vector<UINT>{WM_LISTCTRL_CHECK} : std::vector<UINT>{});
    if (c.asks) {
        EXPECT_EQ(harness.parent.messages[0].wParam, 1u);
    }
    EXPECT_EQ(harness.list->GetCheck(0), c.checkedAfter);
    EXPECT_EQ(harness.list->GetSelectedCount(), c.asks ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckBoxClick,
                         ::testing::Values(CheckCase{"ParentAgrees", 5, 0, true, TLIS_CHECKED},
                                           CheckCase{"ParentRefuses", 5, 1, true, 0},
                                           CheckCase{"BesideTheBox", 11, 0, false, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListClicks, ClickMakesTheCellCurrentAndDoubleClickTellsTheParentAndStillSelects) {
    ListHarness harness(3);
    harness.list->m_bButtons = FALSE;
    harness.Prepare({{1, "a"}, {9, "b"}});
    QTest::mouseClick(harness.list->viewport(), Qt::LeftButton, {}, harness.CellCentre(1, 2));
    EXPECT_EQ(harness.list->m_nCurColumn, 2);
    harness.list->SetItemState(1, 0, LVIS_SELECTED);
    QTest::mouseDClick(harness.list->viewport(), Qt::LeftButton, {}, harness.CellCentre(1, 1));
    EXPECT_EQ(harness.list->GetNextItem(-1, LVNI_SELECTED), 1);
    const auto sent = harness.parent.Sent();
    ASSERT_EQ(std::count(sent.begin(), sent.end(), WM_LISTCTRL_DBLCLK), 1);
    EXPECT_EQ(harness.parent.messages.back().notify.nId, 9);
    EXPECT_EQ(harness.parent.messages.back().notify.nColumn, 1);
}

// The context menu asked for from the keyboard: with no selection (-1, -1) and no block, else the
// middle of the selected row's current cell, or of its first column when none is current.
struct MenuCase {
    const char* name;
    bool selected;
    int currentColumn;
};

class KeyboardContextMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(KeyboardContextMenu, PointsAtTheSelectedCellOrSaysMinusOnes) {
    const MenuCase& c = GetParam();
    ListHarness harness(3);
    harness.Prepare({{1, "a"}, {4, "b"}});
    if (c.selected)
        harness.Select(1);
    harness.list->m_nCurColumn = c.currentColumn;
    QWidget* viewport = harness.list->viewport();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), viewport->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(viewport, &event);
    ASSERT_THAT(harness.parent.Sent(), ElementsAre(WM_LISTCTRL_CONTEXTMENU));
    const MessageRecorder::Message& menu = harness.parent.messages[0];
    if (!c.selected) {
        EXPECT_EQ(menu.wParam, 0xFFFFFFFFu);
        EXPECT_FALSE(menu.hasNotify);
        return;
    }
    const QPoint expected = viewport->mapToGlobal(harness.CellCentre(1, std::max(c.currentColumn, 0)));
    EXPECT_EQ(static_cast<int>(menu.wParam & 0xFFFF), expected.x());
    EXPECT_EQ(static_cast<int>(menu.wParam >> 16), expected.y());
    ASSERT_TRUE(menu.hasNotify);
    EXPECT_EQ(menu.notify.nId, 4);
    EXPECT_EQ(menu.notify.nColumn, c.currentColumn);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyboardContextMenu,
                         ::testing::Values(MenuCase{"WithoutSelection", false, -1},
                                           MenuCase{"WithSelection", true, -1},
                                           MenuCase{"WithCurrentColumn", true, 2}),
                         [](const auto& info) { return info.param.name; });

// What one key press does with a row selected (or not), given the parent's answer.
struct KeyCase {
    const char* name;
    bool rowSelected;
    int key;
    Qt::KeyboardModifiers modifiers;
    LRESULT parentAnswer;
    std::vector<UINT> sent;
    int selectedAfter; // first selected row afterwards
    int columnAfter;   // the current column afterwards
};

class KeysAndCharacters : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeysAndCharacters, AreSwallowedOrForwarded) {
    ListHarness harness(2);
    harness.Prepare({{1, "alpha"}, {2, "bravo"}, {3, "+plus"}, {4, "charlie"}});
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
    EXPECT_EQ(harness.list->m_nCurColumn, c.columnAfter);
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

constexpr UINT KD = WM_LISTCTRL_KEYDOWN;
constexpr UINT CH = WM_LISTCTRL_CHAR;

INSTANTIATE_TEST_SUITE_P(
    Cases, KeysAndCharacters,
    ::testing::Values(
        KeyCase{"DownGoesToParentThenMoves", true, Qt::Key_Down, kNone, 0, {KD}, 1, -1},
        KeyCase{"DownClaimedByParentStays", true, Qt::Key_Down, kNone, 1, {KD}, 0, -1},
        KeyCase{"DownWithoutSelectionIsTheLists", false, Qt::Key_Down, kNone, 0, {}, 1, -1},
        KeyCase{"RightMovesTheColumnUnforwarded", true, Qt::Key_Right, kNone, 0, {}, 0, 0},
        KeyCase{"LeftMovesTheColumnUnforwarded", true, Qt::Key_Left, kNone, 0, {}, 0, 1},
        KeyCase{"LetterGoesToParentThenSearch", true, Qt::Key_B, kNone, 0, {KD, CH}, 1, -1},
        KeyCase{"LetterClaimedByParentStays", true, Qt::Key_B, kNone, 1, {KD, CH}, 0, -1},
        KeyCase{"PlusWithSelectionIsSwallowed", true, Qt::Key_Plus, kNone, 0, {KD}, 0, -1},
        KeyCase{"PlusWithoutSelectionSearches", false, Qt::Key_Plus, kNone, 0, {}, 2, -1},
        KeyCase{"KeypadPlusOnLeafSendsNothing", true, Qt::Key_Plus, Qt::KeypadModifier, 0, {}, 0, -1},
        KeyCase{"KeypadMinusOnLeafSendsNothing", true, Qt::Key_Minus, Qt::KeypadModifier, 0, {}, 0, -1}),
    [](const auto& info) { return info.param.name; });

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
    harness.Prepare({{1, "parent", 0, TRUE, GetParam().expanded}, {2, "child", 1}});
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
