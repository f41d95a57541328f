#pragma once

// The report list view of the platform's common controls, on Qt's tree view and item model: rows
// with a text per column, state bits and item data; columns with format and width, each showing
// the sub-item of its own index. Every row is owner-drawn through DrawItem. Selection, focus, keyboard
// navigation, type-ahead search and scrolling are the tree view's own.

#include "framework/Afx.h"

#include <QTreeView>
#include <string>

class CDC;
class QStandardItemModel;

// The one window style a list reads: the list is always an owner-drawn report.
constexpr DWORD WS_VISIBLE = 0x10000000;

// Item state bits
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;

// Column formats
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;
constexpr int LVCFMT_JUSTIFYMASK = 3;

// Notifications to the parent
constexpr int LVN_ITEMCHANGED = -101; // here: only when the selection changed
constexpr int LVN_COLUMNCLICK = -108;
constexpr int LVN_KEYDOWN = -155;

// GetColumn fills every field.
struct LVCOLUMN {
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::string text;
    int iSubItem = 0;
};

struct NMHDR {
    int code = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iSubItem = 0;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    int key = 0; // Qt's key code
};

// What a list's parent implements to hear the list's notifications (LVN_KEYDOWN,
// LVN_COLUMNCLICK, LVN_ITEMCHANGED); the result goes back to the list.
class CListNotifyTarget {
public:
    virtual ~CListNotifyTarget() = default;
    virtual LRESULT OnListNotify(UINT idCtrl, NMHDR* pNMHDR) = 0;
};

class CListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit CListCtrl(QWidget* parent = nullptr);
    // Rows still in the list reach only this class's OnDeleteItem: a subclass that owns item data
    // empties the list in its own destructor.
    ~CListCtrl() override;

    // Creates the list as child nID of pParentWnd; the parent hears notifications when it is a
    // CListNotifyTarget.
    BOOL Create(DWORD dwStyle, const CRect& rect, QWidget* pParentWnd, UINT nID);

    // Columns
    int InsertColumn(int nCol, const std::string& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL DeleteColumn(int nCol);
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
    int GetColumnWidth(int nCol) const; // 0 for a column that does not exist
    BOOL SetColumnWidth(int nCol, int cx);
    int GetColumnCount() const;

    // Rows
    // -1 on failure, and in a list without columns.
    int InsertItem(int nItem, const std::string& text, LPARAM data = 0);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int nItem, int nSubItem, const std::string& text);
    std::string GetItemText(int nItem, int nSubItem) const;
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    LPARAM GetItemData(int nItem) const;
    // The next selected row after nItem, -1 when there is none.
    int GetNextSelectedItem(int nItem) const;
    UINT GetSelectedCount() const;

    // Geometry, in client coordinates (the row area below the heading).
    // A row's bounds across every column.
    BOOL GetItemRect(int nItem, CRect* pRect) const;
    int HitTest(CPoint point) const;
    void GetClientRect(CRect* pRect) const;
    BOOL RedrawItems(int nFirst, int nLast);
    void MoveWindow(const CRect& rect, BOOL bRepaint = TRUE);
    void SetFocus();

    // The owner-drawn row: index, a device context on the list's paint and the row's bounds.
    virtual void DrawItem(int nItem, CDC* pDC, const CRect& rcItem) = 0;

protected:
    // Fills the row area before the rows are drawn.
    virtual BOOL OnEraseBkgnd(CDC* pDC) = 0;
    // A row leaves the list (deleted one by one, all at once, or with the list).
    virtual void OnDeleteItem(int nItem, LPARAM lParam);

    // Sends a notification to the parent; 0 without a parent that listens.
    LRESULT NotifyParent(NMHDR& header, int code);

    void paintEvent(QPaintEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void keyboardSearch(const QString& search) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;

private:
    void OnHeaderClicked(int nColumn);
    bool IsValidItem(int nItem) const { return nItem >= 0 && nItem < GetItemCount(); }
    QRect ItemRowRect(int nItem) const;

    QStandardItemModel* m_pModel = nullptr;
    CListNotifyTarget* m_pNotifyTarget = nullptr;
    UINT m_nID = 0;
    CDC* m_pPaintDC = nullptr;
    bool m_bEmptying = false;
};
