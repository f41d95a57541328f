#pragma once

#include "listctrl/TreeListCtrl.h"

#include <QImage>
#include <QWidget>
#include <map>
#include <memory>
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

    LRESULT OnListCtrlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::vector<UINT> Sent() const;

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

// A tree list with all of its options at their defaults, inside a shown, active window.
class ListHarness {
public:
    explicit ListHarness(int columns = 3, int width = 420, int height = 240);

    void Init() { list->Init(); }
    void AddColumns(int count, BYTE indent = 0, int width = 100, int format = LVCFMT_LEFT);
    void AddRows(const std::vector<RowSpec>& rows);
    void Focus();
    void Select(int row);
    // The centre of the row's cell in column nCol, in the list's client coordinates.
    QPoint CellCentre(int row, int nCol) const;
    QImage Render() const;

    MessageRecorder parent;
    CTreeListCtrl* list = nullptr;
};

QColor ToQColor(COLORREF colour);
// Pixels of the image within rect whose colour is close to colour.
int CountNear(const QImage& image, const QRect& rect, const QColor& colour, int tolerance = 40);
