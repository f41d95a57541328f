// Mouse and keyboard: buttons and check boxes, the current column, keypad expanding, and what the
// parent hears of double-clicks, context-menu requests, keys and characters.

#include "framework/VirtualKeys.h"
#include "listctrl/TreeListCtrl.h"

namespace {

// The button box is larger than the drawn button, so that a click near it still counts.
constexpr int kButtonHitLeftSlack = 4;
constexpr int kButtonHitTopSlack = 3;
constexpr int kButtonHitGrowth = 7;
constexpr int kCheckBoxHitOffset = 3;
constexpr int kCheckBoxHitWidth = 11;

constexpr UINT kCharExpandAll = '*';
constexpr UINT kCharExpand = '+';
constexpr UINT kCharCollapse = '-';

WPARAM PackScreenPoint(CPoint point) {
    return (static_cast<WPARAM>(point.x) & 0xFFFF) | ((static_cast<WPARAM>(point.y) & 0xFFFF) << 16);
}

} // namespace

void CTreeListCtrl::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    const int row = HitTest(point);
    if (row == -1) {
        Default();
        return;
    }
    LVITEM item;
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    GetItem(&item);
    const auto* info = reinterpret_cast<const ITEMINFO*>(item.lParam);
    const int level = info != nullptr ? info->nLevel : 0;
    CRect bounds;
    const bool haveBounds = GetItemRect(row, &bounds, LVIR_BOUNDS) != FALSE;

    if (m_bButtons && haveBounds) {
        const int h = m_cxButton / 2;
        CRect box;
        box.left = bounds.left + m_nLineOffset + m_nMargin - h + TreeIndent(level) - kButtonHitLeftSlack;
        box.top = bounds.top + h - kButtonHitTopSlack;
        box.right = box.left + m_cxButton + kButtonHitGrowth;
        box.bottom = box.top + m_cxButton + kButtonHitGrowth;
        if (box.PtInRect(point)) {
            ToggleExpand(row, FALSE);
            return;
        }
    }
    if (m_bCheckBoxes && item.iImage != 0 && haveBounds) {
        CRect box = bounds;
        box.left = bounds.left + (m_bButtons ? TreeStepWidth(level) : 0) + m_nMargin + TreeIndent(level) +
                   kCheckBoxHitOffset;
        box.right = box.left + kCheckBoxHitWidth;
        if (box.PtInRect(point)) {
            ToggleCheck(row);
            return;
        }
    }
    SetCurColumnFromPoint(row, point);
    Default();
}

// A double-click does not expand a row by itself; the parent decides.
void CTreeListCtrl::OnLButtonDblClk(UINT, CPoint point) {
    const int row = HitTest(point);
    CRect bounds;
    if (row != -1 && GetItemRect(row, &bounds, LVIR_BOUNDS)) {
        const int column = SubItemFromPoint(row, point);
        if (FillNotify(row, column))
            SendToParent(WM_LISTCTRL_DBLCLK, 0, NotifyParam());
    }
    Default();
}

void CTreeListCtrl::OnRButtonDown(UINT, CPoint) {
    SetFocus();
    Default();
}

// The control shows no menu of its own: the parent gets the point, which for a menu asked for
// from the keyboard is the middle of the current cell, or of the row's first column.
void CTreeListCtrl::OnContextMenu(QWidget*, CPoint point) {
    const int row = FirstSelectedItem();
    const int column = m_nCurColumn;
    if (row == -1) {
        SendToParent(WM_LISTCTRL_CONTEXTMENU, PackScreenPoint(point), 0);
        return;
    }
    if (point == CPoint(-1, -1)) {
        CRect cell;
        if (column != -1) {
            GetCellRect(row, column, &cell);
        } else {
            GetItemRect(row, &cell, LVIR_BOUNDS);
            if (m_nColumns == 0) {
                CRect client;
                GetClientRect(&client);
                cell.left = client.left;
                cell.right = client.right;
            } else {
                cell.left = 0;
                cell.right = GetColumnWidth(0);
            }
        }
        point = CPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        ClientToScreen(&point);
    }
    const LPARAM notify = FillNotify(row, column) ? NotifyParam() : 0;
    SendToParent(WM_LISTCTRL_CONTEXTMENU, PackScreenPoint(point), notify);
}

void CTreeListCtrl::OnKeyDown(UINT nChar, UINT, UINT) {
    const int row = FirstSelectedItem();
    if (!FillNotify(row, m_nCurColumn)) {
        Default();
        return;
    }
    const bool expanded = GetItemState(row, TLIS_EXPANDED) != 0;
    switch (nChar) {
    case VK_LEFT:
        PrevColumn();
        break;
    case VK_RIGHT:
        NextColumn();
        break;
    case VK_ADD:
        if (!expanded)
            ToggleExpand(row, FALSE);
        break;
    case VK_MULTIPLY:
        if (!expanded)
            ToggleExpand(row, TRUE);
        break;
    case VK_SUBTRACT:
        if (expanded)
            ToggleExpand(row, FALSE);
        break;
    default:
        if (SendToParent(WM_LISTCTRL_KEYDOWN, nChar, NotifyParam()) == 0)
            Default();
        break;
    }
}

// The keypad characters belong to expanding; the type-ahead search never sees them.
void CTreeListCtrl::OnChar(UINT nChar, UINT, UINT) {
    const int row = FirstSelectedItem();
    if (!FillNotify(row, m_nCurColumn)) {
        Default();
        return;
    }
    if (nChar == kCharExpandAll || nChar == kCharExpand || nChar == kCharCollapse)
        return;
    if (SendToParent(WM_LISTCTRL_CHAR, nChar, NotifyParam()) == 0)
        Default();
}
