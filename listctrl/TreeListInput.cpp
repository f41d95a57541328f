// Mouse and keyboard: buttons and check boxes, the current column, keypad expanding, and what the
// parent hears of double-clicks, context-menu requests, keys and characters.

#include "framework/VirtualKeys.h"
#include "listctrl/TreeListCtrl.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

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

void CTreeListCtrl::mousePressEvent(QMouseEvent* event) {
    // The tree view hands a double-click on to its press handling; the double-click's own
    // handler has run by then.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (press && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        SetFocus();
        const CPoint point(event->position().toPoint().x(), event->position().toPoint().y());
        const int row = event->button() == Qt::LeftButton ? HitTest(point) : -1;
        if (row != -1 && ClickDecoration(row, point)) {
            m_bPressSwallowed = true;
            event->accept();
            return;
        }
        if (row != -1)
            SetCurColumnFromPoint(row, point);
    }
    if (press)
        m_bPressSwallowed = false;
    QTreeView::mousePressEvent(event);
}

bool CTreeListCtrl::ClickDecoration(int nItem, CPoint point) {
    const ITEMINFO* info = GetItemInfo(nItem);
    const int level = info != nullptr ? info->nLevel : 0;
    CRect bounds;
    if (!GetItemRect(nItem, &bounds))
        return false;
    if (m_bButtons) {
        const int h = m_cxButton / 2;
        CRect box;
        box.left = bounds.left + m_nLineOffset + m_nMargin - h + TreeIndent(level) - kButtonHitLeftSlack;
        box.top = bounds.top + h - kButtonHitTopSlack;
        box.right = box.left + m_cxButton + kButtonHitGrowth;
        box.bottom = box.top + m_cxButton + kButtonHitGrowth;
        if (box.PtInRect(point)) {
            ToggleExpand(nItem, FALSE);
            return true;
        }
    }
    // Dimmed rows have no check box.
    if (m_bCheckBoxes && (info == nullptr || !info->bDimmed)) {
        CRect box = bounds;
        box.left = bounds.left + (m_bButtons ? TreeStepWidth(level) : 0) + m_nMargin + TreeIndent(level) +
                   kCheckBoxHitOffset;
        box.right = box.left + kCheckBoxHitWidth;
        if (box.PtInRect(point)) {
            ToggleCheck(nItem);
            return true;
        }
    }
    return false;
}

void CTreeListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_bPressSwallowed && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void CTreeListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_bPressSwallowed) {
        m_bPressSwallowed = false;
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

// A double-click does not expand a row by itself; the parent decides.
void CTreeListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const CPoint point(event->position().toPoint().x(), event->position().toPoint().y());
    const int row = event->button() == Qt::LeftButton ? HitTest(point) : -1;
    if (row != -1 && FillNotify(row, SubItemFromPoint(row, point)))
        SendToParent(WM_LISTCTRL_DBLCLK, 0, NotifyParam());
    m_bPressSwallowed = false;
    QTreeView::mouseDoubleClickEvent(event);
}

// The control shows no menu of its own: the parent gets the point, which for a menu asked for
// from the keyboard is the middle of the current cell, or of the row's first column.
void CTreeListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    CPoint point(-1, -1);
    if (event->reason() != QContextMenuEvent::Keyboard)
        point = CPoint(event->globalPos().x(), event->globalPos().y());
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
            GetItemRect(row, &cell);
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

void CTreeListCtrl::keyPressEvent(QKeyEvent* event) {
    const UINT virtualKey = VirtualKeyFromEvent(*event);
    const bool character = HasCharacter(*event);
    event->accept();
    if (virtualKey == 0 && !character) {
        QTreeView::keyPressEvent(event);
        return;
    }
    if (virtualKey != 0 && !HandleKeyDown(virtualKey))
        DefaultKeyDown(event);
    if (character && !HandleChar(event->text().at(0).unicode()))
        QTreeView::keyPressEvent(event);
}

bool CTreeListCtrl::HandleKeyDown(UINT nChar) {
    const int row = FirstSelectedItem();
    if (!FillNotify(row, m_nCurColumn))
        return false;
    const bool expanded = GetItemState(row, TLIS_EXPANDED) != 0;
    switch (nChar) {
    case VK_LEFT:
        PrevColumn();
        return true;
    case VK_RIGHT:
        NextColumn();
        return true;
    case VK_ADD:
    case VK_MULTIPLY:
        if (!expanded)
            ToggleExpand(row, nChar == VK_MULTIPLY);
        return true;
    case VK_SUBTRACT:
        if (expanded)
            ToggleExpand(row, FALSE);
        return true;
    default:
        return SendToParent(WM_LISTCTRL_KEYDOWN, nChar, NotifyParam()) != 0;
    }
}

// The keypad characters belong to expanding; the type-ahead search never sees them.
bool CTreeListCtrl::HandleChar(UINT nChar) {
    if (!FillNotify(FirstSelectedItem(), m_nCurColumn))
        return false;
    if (nChar == kCharExpandAll || nChar == kCharExpand || nChar == kCharCollapse)
        return true;
    return SendToParent(WM_LISTCTRL_CHAR, nChar, NotifyParam()) != 0;
}

// The label's highlight follows the focus.
void CTreeListCtrl::RepaintSelectedLabel() {
    const int selected = FirstSelectedItem();
    if (selected != -1)
        InvalidateItems(selected, selected);
}

void CTreeListCtrl::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    RepaintSelectedLabel();
}

void CTreeListCtrl::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    RepaintSelectedLabel();
}

void CTreeListCtrl::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        RecalcMetrics();
}
