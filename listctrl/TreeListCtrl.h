#pragma once

// The program's own report list: a current column, a text colour per row, text shortening, a
// marked row and the context-menu message to the parent. Every row is painted here; the list
// underneath keeps the rows.

#include "framework/CDC.h"
#include "framework/CListCtrl.h"

#include <string>
#include <vector>

class CTreeListCtrl;

// The private message to the parent: the context menu is asked for at the screen point packed
// x | y << 16 in wParam; lParam points to a LISTCTRLNOTIFY, or is 0 without a selected row.
constexpr UINT WM_APP = 0x8000;
constexpr UINT WM_LISTCTRL_CONTEXTMENU = WM_APP + 302;

// The control's background with no colour of its own.
constexpr COLORREF kColumnBackControl = 0xFFFFFFFF;

// One per row, the row's item data; owned by the control.
struct ITEMINFO {
    COLORREF crText = kDefaultColour;
};

// One per column.
struct CColumnInfo {
    BOOL bActive;
};

struct LISTCTRLNOTIFY {
    CTreeListCtrl* pCtrl = nullptr;
    int nColumn = -1;
    int nItem = -1;
    BOOL bColumnActive = FALSE;
};

// What the control's parent implements to receive the private message.
class CListCtrlMessageTarget {
public:
    virtual ~CListCtrlMessageTarget() = default;
    virtual LRESULT OnListCtrlMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

class CTreeListCtrl : public CListCtrl {
    Q_OBJECT
public:
    explicit CTreeListCtrl(QWidget* parent = nullptr);
    ~CTreeListCtrl() override;

    void Init();
    void RecalcMetrics();

    int InsertColumn(int nCol, const std::string& strHeading, BOOL bActive, int nFormat, int nWidth);
    BOOL DeleteColumn(int nCol);
    int InsertItem(int nItem, const std::string& strText, COLORREF crText);

    int SubItemFromPoint(int nItem, CPoint pt) const;
    BOOL GetCellRect(int nItem, int nCol, CRect* pRect) const;
    void NextColumn();
    void PrevColumn();
    void SetCurColumnFromPoint(int nItem, CPoint pt);
    BOOL FillNotify(int nItem, int nCol);
    void InvalidateItems(int nFirst, int nLast);

    const ITEMINFO* GetItemInfo(int nItem) const {
        return reinterpret_cast<const ITEMINFO*>(GetItemData(nItem));
    }
    const CColumnInfo* GetColumnInfo(int nCol) const;

    void DrawItem(int nItem, CDC* pDC, const CRect& rcItem) override;

    // A row framed in its text colour, apart from the selection (-1: none); rows leaving the list
    // take the mark with them.
    void SetMarkedItem(int nItem);
    int GetMarkedItem() const { return m_nMarkedItem; }

    // The background; the owner sets it before Init.
    COLORREF m_crBackground = kDefaultColour;

    TEXTMETRIC m_tm;
    int m_nMargin = 2;
    int m_nCurColumn = -1;
    LISTCTRLNOTIFY m_notify;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnDeleteItem(int nItem, LPARAM lParam) override;

    // Input (TreeListInput.cpp); whatever the list does not take for itself goes to the tree view.
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Painting (TreeListPainting.cpp)
    struct RowPaint;
    void PaintLabel(const RowPaint& row, CDC* pDC);
    void PaintCells(const RowPaint& row, CDC* pDC);
    void PaintMark(const RowPaint& row, CDC* pDC);
    UINT FitText(CDC* pDC, const char* text, int avail, int format, const char** shown) const;
    COLORREF Background() const;

    bool HandleKeyDown(const QKeyEvent& event);
    // The list's own key-down handling: the parent hears LVN_KEYDOWN first; keys that make
    // characters are left to the character step, so that the type-ahead search sees each once.
    void DefaultKeyDown(QKeyEvent* event);
    void RepaintSelectedLabel();

    int FirstSelectedItem() const { return GetNextSelectedItem(-1); }
    int ColumnCount() const { return static_cast<int>(m_arrColumns.size()); }
    bool IsColumnActive(int nCol) const;
    void SetCurColumn(int nCol, int nRepaintItem);
    void StepCurColumn(int step);

    // One record per column, at the column's index.
    std::vector<CColumnInfo> m_arrColumns;
    int m_nMarkedItem = -1;
};
