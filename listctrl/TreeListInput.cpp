// Mouse and keyboard: the current column, the keypad keys a tree list keeps for itself, and the
// context menu the parent shows.

#include "listctrl/TreeListCtrl.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace {

// Characters of the keypad's expand keys, which never reach the type-ahead search.
constexpr UINT kKeypadCharacters[] = {'*', '+', '-'};

// A key that produces a character the type-ahead search can use.
bool HasCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F;
}

// How far inside the list a menu asked for from the keyboard opens at the least.
constexpr int kKeyboardMenuInset = 4;

WPARAM PackScreenPoint(CPoint point) {
    return (static_cast<WPARAM>(point.x) & 0xFFFF) | ((static_cast<WPARAM>(point.y) & 0xFFFF) << 16);
}

} // namespace

// A click in an active column makes it the current one; the tree view selects.
void CTreeListCtrl::mousePressEvent(QMouseEvent* event) {
    // The tree view hands a double-click on to its press handling.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (press && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        SetFocus();
        const CPoint point(event->position().toPoint().x(), event->position().toPoint().y());
        const int row = HitTest(point);
        if (row != -1 && event->button() == Qt::LeftButton)
            SetCurColumnFromPoint(row, point);
    }
    QTreeView::mousePressEvent(event);
}

// The control shows no menu of its own: the parent gets the point. A menu asked for from the
// keyboard opens on the focused row (the middle of the current cell, or of the row's first
// column), kept inside the list when that row is scrolled away, and at the list's top left when
// no row is selected; the design's (-1, -1) would put it in a corner of the screen.
void CTreeListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    const int row = FirstSelectedItem();
    const QRect inside = viewport()->rect().adjusted(kKeyboardMenuInset, kKeyboardMenuInset,
                                                     -kKeyboardMenuInset, -kKeyboardMenuInset);
    QPoint local = inside.topLeft();
    if (keyboard && row != -1) {
        const int focused = currentIndex().isValid() ? currentIndex().row() : -1;
        const int menuRow = focused != -1 && GetItemState(focused, LVIS_SELECTED) != 0 ? focused : row;
        const int column = m_nCurColumn;
        CRect cell;
        if (column != -1) {
            GetCellRect(menuRow, column, &cell);
        } else {
            GetItemRect(menuRow, &cell);
            cell.left = 0;
            cell.right = GetColumnWidth(0);
        }
        local = QPoint(
            std::clamp((cell.left + cell.right) / 2, inside.left(), std::max(inside.left(), inside.right())),
            std::clamp((cell.top + cell.bottom) / 2, inside.top(), std::max(inside.top(), inside.bottom())));
    }
    const QPoint screen = keyboard ? viewport()->mapToGlobal(local) : event->globalPos();
    const CPoint point(screen.x(), screen.y());
    if (row == -1) {
        SendToParent(WM_LISTCTRL_CONTEXTMENU, PackScreenPoint(point), 0);
        return;
    }
    FillNotify(row, m_nCurColumn);
    SendToParent(WM_LISTCTRL_CONTEXTMENU, PackScreenPoint(point), reinterpret_cast<LPARAM>(&m_notify));
}

void CTreeListCtrl::keyPressEvent(QKeyEvent* event) {
    const bool character = HasCharacter(*event);
    event->accept();
    const bool rowSelected = FirstSelectedItem() != -1;
    if (!(rowSelected && HandleKeyDown(*event)))
        DefaultKeyDown(event);
    if (!character)
        return;
    const UINT typed = event->text().at(0).unicode();
    const bool keypad = std::find(std::begin(kKeypadCharacters), std::end(kKeypadCharacters), typed) !=
                        std::end(kKeypadCharacters);
    if (!(rowSelected && keypad))
        QTreeView::keyPressEvent(event);
}

// With a row selected, the arrows across move the current column and the keypad's expand keys
// are the list's own (its rows have nothing to expand).
bool CTreeListCtrl::HandleKeyDown(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Left:
        PrevColumn();
        return true;
    case Qt::Key_Right:
        NextColumn();
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Asterisk:
    case Qt::Key_Minus:
        return event.modifiers().testFlag(Qt::KeypadModifier);
    default:
        return false;
    }
}

void CTreeListCtrl::DefaultKeyDown(QKeyEvent* event) {
    NMLVKEYDOWN keyDown;
    keyDown.key = event->key();
    NotifyParent(keyDown.hdr, LVN_KEYDOWN);
    if (!HasCharacter(*event))
        QTreeView::keyPressEvent(event);
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
