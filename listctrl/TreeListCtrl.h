#pragma once

// The program's own report list: a tree in the first column, optional check boxes, a current
// column, a text colour per row, column backgrounds, caption rows, grid lines, text shortening and
// private messages to the parent. Every row is painted here; the list underneath keeps the rows.

#include "framework/CDC.h"
#include "framework/CListCtrl.h"

#include <memory>
#include <string>
#include <vector>

class CTreeListCtrl;

// Private messages to the parent, each with a pointer to a LISTCTRLNOTIFY as lParam.
constexpr UINT WM_APP = 0x8000;
constexpr UINT WM_LISTCTRL_EXPAND = WM_APP + 300;      // low word: now expanded; high word: from '*'
constexpr UINT WM_LISTCTRL_CHECK = WM_APP + 301;       // the state about to be set; nonzero cancels
constexpr UINT WM_LISTCTRL_CONTEXTMENU = WM_APP + 302; // screen point packed x | y << 16
constexpr UINT WM_LISTCTRL_DBLCLK = WM_APP + 303;
constexpr UINT WM_LISTCTRL_KEYDOWN = WM_APP + 304; // nonzero: the parent handled the key
constexpr UINT WM_LISTCTRL_CHAR = WM_APP + 305;    // nonzero: the parent handled the character

// Row flags, kept in the list's state-image bits.
constexpr UINT TLIS_EXPANDED = 0x1000;
constexpr UINT TLIS_FIRST = 0x2000;
constexpr UINT TLIS_LAST = 0x4000;
constexpr UINT TLIS_CHECKED = 0x8000;

// Column backgrounds with a meaning of their own.
constexpr COLORREF kColumnBackControl = 0xFFFFFFFF; // the control's background
constexpr COLORREF kColumnBackButtonFace = 0xFFFFFFFE;
// The identifier of a caption row.
constexpr int kCaptionRowId = -1;

// One per row, the row's item data; owned by the control.
struct ITEMINFO {
    int nLevel = 0;
    int nId = 0;
    BOOL bHasChildren = FALSE;
    BOOL bDimmed = FALSE;
    COLORREF crText = kDefaultColour;
};

// One per column.
class CColumnInfo {
public:
    CColumnInfo(COLORREF back, BOOL active, BYTE indent) : crBack(back), bActive(active), nIndent(indent) {}
    ~CColumnInfo() {}

    COLORREF crBack;
    BOOL bActive;
    BYTE nIndent;
};

// The block every private message points to; refilled before each one.
struct LISTCTRLNOTIFY {
    CTreeListCtrl* pCtrl = nullptr;
    int nColumn = -1;
    int nItem = -1;
    int nId = 0;
    int bDimmed = 0;
    BOOL bColumnActive = FALSE;
};

// What the control's parent implements to receive the private messages; a parent that does not
// answers 0 to all of them.
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

    int InsertColumn(int nCol, const std::string& strHeading, BYTE nIndent, COLORREF crBack, BOOL bActive,
                     int nFormat, int nWidth, int nSubItem);
    BOOL DeleteColumn(int nCol);
    int InsertItem(int nItem, int nId, const std::string& strText, int nLevel, BOOL bHasChildren,
                   BOOL bExpanded, BOOL bDimmed, BOOL bChecked, COLORREF crText);

    void ToggleExpand(int nItem, BOOL bAll);
    void ToggleCheck(int nItem);
    BOOL SetCheck(int nItem, BOOL bCheck);
    UINT GetCheck(int nItem) const;

    int SubItemFromPoint(int nItem, CPoint pt) const;
    BOOL GetCellRect(int nItem, int nCol, RECT* pRect) const;
    void NextColumn();
    void PrevColumn();
    void SetCurColumnFromPoint(int nItem, CPoint pt);
    BOOL FillNotify(int nItem, int nCol);
    void InvalidateItems(int nFirst, int nLast);

    // The geometry of the tree column at level nLevel.
    int TreeIndent(int nLevel) const;
    int TreeStepWidth(int nLevel) const;

    const ITEMINFO* GetItemInfo(int nItem) const {
        return reinterpret_cast<const ITEMINFO*>(GetItemData(nItem));
    }
    const CColumnInfo* GetColumnInfo(int nCol) const;
    const TEXTMETRIC& GetMetrics() const { return m_tm; }

    void DrawItem(int nItem, CDC* pDC, const CRect& rcItem) override;

    // A row framed in its text colour, apart from the selection (-1: none); rows leaving the list
    // take the mark with them.
    void SetMarkedItem(int nItem);
    int GetMarkedItem() const { return m_nMarkedItem; }

    // Display options and colours; the owner sets them before Init.
    BOOL m_bButtons = TRUE;
    BOOL m_bButtonsAtEnd = FALSE;
    BOOL m_bLines = TRUE;
    BOOL m_bVertGrid = TRUE;
    BOOL m_bHorzGrid = TRUE;
    BOOL m_bLinesAtRoot = TRUE;
    BOOL m_bEllipsis = TRUE;
    BOOL m_bFitText = TRUE;
    BOOL m_bDimDisabled = TRUE;
    BOOL m_bCheckBoxes = FALSE;
    COLORREF m_crBackground = kDefaultColour;

    TEXTMETRIC m_tm;
    int m_nMargin = 2;
    int m_cxChar = 7;
    int m_cxButtonColumn = 0;
    int m_nLineOffset = 0;
    int m_cxButton = 9;
    int m_nCurColumn = -1;
    int m_nColumns = 0;
    LISTCTRLNOTIFY m_notify;
    BOOL m_bInitialised = FALSE;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnDeleteItem(int nItem, LPARAM lParam) override;
    void OnDestroy();

    // Input (TreeListInput.cpp); whatever the list does not take for itself goes to the tree view.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Sends a private message to the parent; 0 when the parent does not take them.
    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);
    LPARAM NotifyParam() { return reinterpret_cast<LPARAM>(&m_notify); }

private:
    // Painting (TreeListPainting.cpp)
    struct RowPaint;
    bool PrepareRow(RowPaint& row, CDC* pDC, int nItem, const CRect& rcItem);
    void PaintTreeStep(RowPaint& row, CDC* pDC);
    void PaintAncestorLines(RowPaint& row, CDC* pDC);
    void PaintLabel(RowPaint& row, CDC* pDC);
    int PaintCells(RowPaint& row, CDC* pDC);
    void PaintGridLines(RowPaint& row, CDC* pDC, int lastRight);
    void PaintMark(RowPaint& row, CDC* pDC);
    UINT FitText(CDC* pDC, const char* text, int avail, int format, const char** shown) const;
    COLORREF BackgroundOf(COLORREF crBack) const;

    // A press on a tree button or a check box; true when it was taken.
    bool ClickDecoration(int nItem, CPoint point);
    bool HandleKeyDown(UINT nChar);
    bool HandleChar(UINT nChar);
    void RepaintSelectedLabel();

    int FirstSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }
    int ItemLevel(int nItem) const;
    bool IsColumnActive(int nCol) const;
    void SetCurColumn(int nCol, int nRepaintItem);
    void StepCurColumn(int step);

    // One record per column, at the column's index; empty slots wait behind them.
    std::vector<std::unique_ptr<CColumnInfo>> m_arrColumns;
    int m_nMarkedItem = -1;
    // A press the list took keeps its moves and release from the tree view.
    bool m_bPressSwallowed = false;
};

// Background of the whole control, and of a column: the reserved values resolved.
COLORREF ResolveBackground(COLORREF crColumn, COLORREF crControl);
