#include "ListTestSupport.h"

#include <gmock/gmock.h>

namespace {

constexpr UINT kFlags = TLIS_FIRST | TLIS_LAST | TLIS_EXPANDED | TLIS_CHECKED;

struct Insertion {
    int index; // -1 appends
    int id;
    int level;
    BOOL hasChildren = FALSE;
    BOOL expanded = FALSE;
};

struct FlagCase {
    const char* name;
    std::vector<Insertion> insertions;
    std::vector<UINT> flags; // of the rows afterwards, top to bottom
};

class RowFlagsAtInsertion : public ::testing::TestWithParam<FlagCase> {};

TEST_P(RowFlagsAtInsertion, FollowTheRowsNeighbours) {
    ListHarness harness(1);
    harness.Init();
    for (const Insertion& insertion : GetParam().insertions)
        harness.list->InsertItem(insertion.index, insertion.id, "row", insertion.level, insertion.hasChildren,
                                 insertion.expanded, FALSE, FALSE, kDefaultColour);
    std::vector<UINT> flags;
    for (int row = 0; row < harness.list->GetItemCount(); ++row)
        flags.push_back(harness.list->GetItemState(row, kFlags));
    EXPECT_EQ(flags, GetParam().flags);
}

constexpr UINT F = TLIS_FIRST;
constexpr UINT L = TLIS_LAST;
constexpr UINT E = TLIS_EXPANDED;

INSTANTIATE_TEST_SUITE_P(
    Cases, RowFlagsAtInsertion,
    ::testing::Values(
        FlagCase{"FirstAppendedRowIsFirstAndLast", {{-1, 1, 0}}, {F | L}},
        FlagCase{"FirstRowAtIndexZeroIsFirstAndLast", {{0, 1, 0}}, {F | L}},
        FlagCase{"InsertingAtTopMovesFirst", {{-1, 1, 0}, {0, 2, 0}}, {F, L}},
        FlagCase{"AppendedSiblingTakesLast", {{-1, 1, 0}, {-1, 2, 0}, {-1, 3, 0}}, {F, 0, L}},
        FlagCase{"AppendedCaptionRowLeavesLast", {{-1, 1, 0}, {-1, kCaptionRowId, 0}}, {F | L, L}},
        FlagCase{"ChildBeforeSiblingIsNotLast", {{-1, 1, 0}, {-1, 2, 1}, {1, 3, 1}}, {F | L, 0, L}},
        FlagCase{"ChildrenDoNotEndTheirParentsRun",
                 {{-1, 1, 0, TRUE, TRUE}, {-1, 2, 1}, {-1, 3, 1}, {-1, 4, 0}},
                 {F | E, 0, L, L}},
        FlagCase{"CollapsedParentIsNotExpanded", {{-1, 1, 0, TRUE, FALSE}}, {F | L}},
        FlagCase{"ExpandedLeafIsNotExpanded", {{-1, 1, 0, FALSE, TRUE}}, {F | L}}),
    [](const auto& info) { return info.param.name; });

struct ColumnCase {
    const char* name;
    std::vector<BOOL> active;
    int current;
    bool next; // NextColumn, else PrevColumn
    int expected;
};

class CurrentColumnMoves : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(CurrentColumnMoves, ToTheNextActiveColumn) {
    ListHarness harness(0);
    harness.Init();
    const ColumnCase& c = GetParam();
    for (std::size_t column = 0; column < c.active.size(); ++column)
        harness.list->InsertColumn(static_cast<int>(column), "c", 0, kColumnBackControl, c.active[column],
                                   LVCFMT_LEFT, 50, static_cast<int>(column));
    harness.list->m_nCurColumn = c.current;
    if (c.next)
        harness.list->NextColumn();
    else
        harness.list->PrevColumn();
    EXPECT_EQ(harness.list->m_nCurColumn, c.expected);
}

const std::vector<BOOL> kOnlyFirst = {TRUE, FALSE, FALSE, FALSE, FALSE};
const std::vector<BOOL> kNone = {FALSE, FALSE, FALSE, FALSE, FALSE};
const std::vector<BOOL> kFirstAndFourth = {TRUE, FALSE, FALSE, TRUE, FALSE};
const std::vector<BOOL> kAll = {TRUE, TRUE, TRUE};

INSTANTIATE_TEST_SUITE_P(Cases, CurrentColumnMoves,
                         ::testing::Values(ColumnCase{"NextFromNoneToOnlyActive", kOnlyFirst, -1, true, 0},
                                           ColumnCase{"NextStaysOnOnlyActive", kOnlyFirst, 0, true, 0},
                                           ColumnCase{"PrevFromNoneToOnlyActive", kOnlyFirst, -1, false, 0},
                                           ColumnCase{"PrevStaysOnOnlyActive", kOnlyFirst, 0, false, 0},
                                           ColumnCase{"NextWithNoActiveStaysNone", kNone, -1, true, -1},
                                           ColumnCase{"PrevWithNoActiveStaysNone", kNone, -1, false, -1},
                                           ColumnCase{"NextWrapsAround", kFirstAndFourth, 3, true, 0},
                                           ColumnCase{"PrevFromFourthToFirst", kFirstAndFourth, 3, false, 0},
                                           ColumnCase{"PrevWrapsAround", kFirstAndFourth, 0, false, 3},
                                           ColumnCase{"NextSkipsInactive", kFirstAndFourth, 0, true, 3},
                                           ColumnCase{"NextFromOutOfRangeToFirst", kAll, 7, true, 0},
                                           ColumnCase{"PrevFromNoneToLast", kAll, -1, false, 2},
                                           ColumnCase{"NextWithoutColumns", {}, 2, true, -1}),
                         [](const auto& info) { return info.param.name; });

TEST(TreeListColumns, RecordsFollowInsertionsInFrontAndDeletionsOfColumnZero) {
    ListHarness harness(0);
    harness.list->InsertColumn(0, "b", 3, RGB(1, 2, 3), FALSE, LVCFMT_LEFT, 40, 1);
    harness.list->InsertColumn(0, "a", 1, RGB(4, 5, 6), TRUE, LVCFMT_LEFT, 40, 0);
    ASSERT_NE(harness.list->GetColumnInfo(1), nullptr);
    EXPECT_EQ(harness.list->GetColumnInfo(0)->crBack, RGB(4, 5, 6));
    EXPECT_EQ(harness.list->GetColumnInfo(1)->nIndent, 3);
    harness.list->m_nCurColumn = 1;
    harness.list->InsertColumn(2, "c", 0, kColumnBackControl, TRUE, LVCFMT_LEFT, 40, 2);
    EXPECT_EQ(harness.list->m_nCurColumn, -1) << "a new column resets the current one";
    int deleted = 0;
    while (harness.list->DeleteColumn(0))
        ++deleted;
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(harness.list->m_nColumns, 0);
    EXPECT_EQ(harness.list->GetColumnCount(), 0);
}

TEST(TreeListCells, HitBoxesAreTheCellsOfTheRowAndNothingElse) {
    ListHarness harness(3);
    harness.AddRows({{1, "one"}, {2, "two"}});
    for (int column = 0; column < 3; ++column) {
        const QPoint centre = harness.CellCentre(1, column);
        EXPECT_EQ(harness.list->SubItemFromPoint(1, CPoint(centre.x(), centre.y())), column);
    }
    const QPoint pastTheLast = harness.CellCentre(1, 2) + QPoint(100, 0);
    EXPECT_EQ(harness.list->SubItemFromPoint(1, CPoint(pastTheLast.x(), pastTheLast.y())), -1);
    const QPoint otherRow = harness.CellCentre(0, 1);
    EXPECT_EQ(harness.list->SubItemFromPoint(1, CPoint(otherRow.x(), otherRow.y())), -1);
    CRect cell;
    EXPECT_FALSE(harness.list->GetCellRect(0, -1, &cell));
    EXPECT_FALSE(harness.list->GetCellRect(0, 5, &cell));
    EXPECT_TRUE(harness.list->GetCellRect(0, 1, &cell));
    EXPECT_EQ(cell.Width(), 100);
}

TEST(TreeListNotify, FillNotifyDescribesTheRowAndColumn) {
    ListHarness harness(0);
    harness.list->InsertColumn(0, "a", 0, kColumnBackControl, TRUE, LVCFMT_LEFT, 40, 0);
    harness.list->InsertColumn(1, "b", 0, kColumnBackControl, FALSE, LVCFMT_LEFT, 40, 1);
    harness.list->InsertItem(-1, 77, "row", 0, FALSE, FALSE, TRUE, FALSE, kDefaultColour);
    ASSERT_TRUE(harness.list->FillNotify(0, 0));
    EXPECT_EQ(harness.list->m_notify.nId, 77);
    EXPECT_EQ(harness.list->m_notify.bDimmed, TRUE);
    EXPECT_EQ(harness.list->m_notify.bColumnActive, TRUE);
    ASSERT_TRUE(harness.list->FillNotify(0, 1));
    EXPECT_EQ(harness.list->m_notify.bColumnActive, FALSE);
    ASSERT_TRUE(harness.list->FillNotify(0, 9));
    EXPECT_EQ(harness.list->m_notify.bColumnActive, FALSE);
    EXPECT_FALSE(harness.list->FillNotify(-1, 0));
    EXPECT_FALSE(harness.list->FillNotify(1, 0));
}

TEST(TreeListRows, DeletedRowsTakeTheirRecordsWithThem) {
    ListHarness harness(1);
    harness.AddRows({{1, "a"}, {2, "b"}, {3, "c"}});
    EXPECT_TRUE(harness.list->DeleteItem(1));
    EXPECT_EQ(harness.list->GetItemInfo(1)->nId, 3);
    EXPECT_FALSE(harness.list->DeleteItem(2));
    EXPECT_TRUE(harness.list->DeleteAllItems());
    EXPECT_EQ(harness.list->GetItemCount(), 0);
}

} // namespace
