#include "ListTestSupport.h"

#include <QApplication>
#include <QTest>

LRESULT MessageRecorder::OnListCtrlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Message recorded{message, wParam, lParam != 0, {}};
    if (lParam != 0)
        recorded.notify = *reinterpret_cast<const LISTCTRLNOTIFY*>(lParam);
    messages.push_back(recorded);
    const auto answer = answers.find(message);
    return answer != answers.end() ? answer->second : 0;
}

std::vector<UINT> MessageRecorder::Sent() const {
    std::vector<UINT> sent;
    for (const Message& message : messages)
        sent.push_back(message.message);
    return sent;
}

ListHarness::ListHarness(int columns, int width, int height) {
    parent.resize(width, height);
    list = new CTreeListCtrl(&parent);
    list->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &parent, 1);
    if (columns > 0)
        AddColumns(columns);
}

void ListHarness::AddColumns(int count, BYTE indent, int width, int format) {
    for (int column = 0; column < count; ++column)
        list->InsertColumn(column, "Column " + std::to_string(column), indent, kColumnBackControl, TRUE,
                           format, width, column);
}

void ListHarness::AddRows(const std::vector<RowSpec>& rows) {
    for (const RowSpec& row : rows) {
        const int index = list->InsertItem(-1, row.id, row.text, row.level, row.hasChildren, row.expanded,
                                           FALSE, FALSE, row.colour);
        for (int column = 1; column < list->GetColumnCount(); ++column)
            list->CListCtrl::SetItemText(index, column, row.text + " " + std::to_string(column));
    }
}

void ListHarness::Focus() {
    parent.show();
    parent.activateWindow();
    QApplication::setActiveWindow(&parent);
    (void)QTest::qWaitForWindowActive(&parent);
    list->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void ListHarness::Select(int row) {
    list->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

QPoint ListHarness::CellCentre(int row, int nCol) const {
    CRect cell;
    list->GetCellRect(row, nCol, &cell);
    return QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
}

QImage ListHarness::Render() const {
    return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

int CountNear(const QImage& image, const QRect& rect, const QColor& colour, int tolerance) {
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
