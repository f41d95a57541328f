#pragma once

#include "listctrl/TreeListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

// A parent window that records the list's private messages and answers them as told.
class MessageRecorder : public QWidget, public CListCtrlMessageTarget {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        bool hasNotify;
        LISTCTRLNOTIFY notify;
    };

    LRESULT OnListCtrlMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        Message recorded{message, wParam, lParam != 0, {}};
        if (lParam != 0)
            recorded.notify = *reinterpret_cast<const LISTCTRLNOTIFY*>(lParam);
        messages.push_back(recorded);
        const auto answer = answers.find(message);
        return answer != answers.end() ? answer->second : 0;
    }
    std::vector<UINT> Sent() const {
        std::vector<UINT> sent;
        for (const Message& message : messages)
            sent.push_back(message.message);
        return sent;
    }

    std::vector<Message> messages;
    std::map<UINT, LRESULT> answers;
};

// One row as the tests insert it.
struct RowSpec {
    int id = 0;
    std::string text;
    int level = 0;
    BOOL hasChildren = FALSE;
    BOOL expanded = FALSE;
    COLORREF colour = kDefaultColour;
};

// A tree list with all of its options at their defaults, inside a window that Focus shows.
class ListHarness {
public:
    explicit ListHarness(int columns = 3, int width = 420, int height = 240) {
        parent.resize(width, height);
        list = new CTreeListCtrl(&parent);
        list->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent, 1);
        AddColumns(columns);
    }

    void Init() { list->Init(); }
    // The usual start of an input test: Init, then the rows, then the focus.
    void Prepare(const std::vector<RowSpec>& rows) {
        Init();
        AddRows(rows);
        Focus();
    }
    void AddColumns(int count, BYTE indent = 0, int width = 100) {
        for (int column = 0; column < count; ++column)
            list->InsertColumn(column, "Column " + std::to_string(column), indent, kColumnBackControl, TRUE,
                               LVCFMT_LEFT, width, column);
    }
    // Rows whose other cells read "<text> <column>".
    void AddRows(const std::vector<RowSpec>& rows) {
        for (const RowSpec& row : rows) {
            const int index = list->InsertItem(-1, row.id, row.text, row.level, row.hasChildren, row.expanded,
                                               FALSE, FALSE, row.colour);
            for (int column = 1; column < list->GetColumnCount(); ++column)
                list->CListCtrl::SetItemText(index, column, row.text + " " + std::to_string(column));
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
    // The centre of the row's cell in column nCol, in the list's client coordinates.
    QPoint CellCentre(int row, int nCol) const {
        CRect cell;
        list->GetCellRect(row, nCol, &cell);
        return QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    }
    QImage Render() const { return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    MessageRecorder parent;
    CTreeListCtrl* list = nullptr;
};

inline QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// Pixels of the image within rect whose colour is close to colour.
inline int CountNear(const QImage& image, const QRect& rect, const QColor& colour, int tolerance = 40) {
    int count = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) <= tolerance &&
                std::abs(pixel.green() - colour.green()) <= tolerance &&
                std::abs(pixel.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}
