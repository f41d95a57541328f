#pragma once

#include "listctrl/TreeListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

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
    explicit ListHarness(int columns = 3, COLORREF background = kDefaultColour) {
        parent.resize(420, 240);
        list = new CTreeListCtrl(&parent);
        list->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 420, 240), &parent, 1);
        list->m_crBackground = background;
        for (int column = 0; column < columns; ++column)
            list->InsertColumn(column, "Column " + std::to_string(column), TRUE, LVCFMT_LEFT, 100, column);
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
