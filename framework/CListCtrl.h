#pragma once

// The report list view of the platform's common controls, on Qt's tree view with an item model of
// our own: rows with a text per sub-item, state bits, item data and an image index; columns with
// format, width and sub-item. Every row is owner-drawn through DrawItem. Selection, focus,
// keyboard navigation, type-ahead search and scrolling are the tree view's own. The messages the
// list handles arrive as the virtual On... operations; Default() runs the tree view's handling.

#include "framework/Afx.h"

#include <QImage>
#include <QTreeView>
#include <memory>
#include <string>
#include <vector>

class CDC;
class CListCtrl;
class CListCtrlModel;

// Window and list styles
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;

// Item state bits
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;

// Item and column fields
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;
constexpr int LVCFMT_JUSTIFYMASK = 3;

// GetNextItem, GetItemRect, HitTest, image lists
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVIR_BOUNDS = 0;
constexpr UINT LVIR_ICON = 1;
constexpr UINT LVIR_LABEL = 2;
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;

// Notifications to the parent
constexpr int LVN_ITEMCHANGED = -101; // here: only when the selection changed
constexpr int LVN_COLUMNCLICK = -108;
constexpr int LVN_KEYDOWN = -155;

struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    std::string text; // LVIF_TEXT: read into / written from here
    int cchTextMax = 260;
    int iImage = 0;
    LPARAM lParam = 0;
};

struct LVCOLUMN {
    UINT mask = 0;
    int fmt = LVCFMT_LEFT;
    int cx = 0;
    std::string text;
    int iSubItem = 0;
};

struct NMHDR {
    CListCtrl* hwndFrom = nullptr;
    UINT idFrom = 0;
    int code = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

// What a list's parent implements to hear the list's notifications (LVN_KEYDOWN,
// LVN_COLUMNCLICK, LVN_ITEMCHANGED); the result goes back to the list.
class CListNotifyTarget {
public:
    virtual ~CListNotifyTarget() = default;
    virtual LRESULT OnListNotify(UINT idCtrl, NMHDR* pNMHDR) = 0;
};

// Image-list drawing styles
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_OVERLAYMASK = 0x0F00;

// A strip of equally sized images, drawn by index.
class CImageList {
public:
    BOOL Create(int cx, int cy);
    // Scaled to the list's image size; returns the new index.
    int Add(const QImage& image);
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    CSize GetImageSize() const { return {m_cx, m_cy}; }
    // Draws image nImage at pt, cut to size; ILD_BLEND25 tints it a quarter with crFg.
    BOOL DrawEx(CDC* pDC, int nImage, CPoint pt, CSize size, COLORREF crBk, COLORREF crFg, UINT nStyle) const;

private:
    int m_cx = 16;
    int m_cy = 16;
    std::vector<QImage> m_images;
};

class CListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit CListCtrl(QWidget* parent = nullptr);
    // Rows still in the list reach only this class's OnDeleteItem: a subclass that owns item data
    // empties the list in its own destructor.
    ~CListCtrl() override;

    // Creates the list as child nID of pParentWnd; the parent hears notifications when it is a
    // CListNotifyTarget. FALSE when PreCreateWindow refuses.
    BOOL Create(DWORD dwStyle, const CRect& rect, QWidget* pParentWnd, UINT nID);
    UINT GetDlgCtrlID() const { return m_nID; }
    DWORD GetStyle() const { return m_dwStyle; }

    // Columns
    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    int InsertColumn(int nCol, const std::string& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol);
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
    int GetColumnWidth(int nCol) const; // 0 for a column that does not exist
    BOOL SetColumnWidth(int nCol, int cx);
    int GetColumnCount() const;

    // Rows
    int InsertItem(const LVITEM* pItem); // index of the new row, or -1
    int InsertItem(int nItem, const std::string& text);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    // Room for nItems rows; the list stays as it is.
    void SetItemCount(int nItems);
    BOOL GetItem(LVITEM* pItem) const;
    BOOL SetItem(const LVITEM* pItem);
    BOOL SetItemText(int nItem, int nSubItem, const std::string& text);
    std::string GetItemText(int nItem, int nSubItem) const;
    // Copies at most nLen - 1 characters and a terminating zero; returns the length copied.
    int GetItemText(int nItem, int nSubItem, char* buffer, int nLen) const;
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    LPARAM GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, LPARAM data);
    int GetNextItem(int nItem, UINT nFlags) const;
    UINT GetSelectedCount() const;

    // Geometry, in client coordinates (the row area below the heading).
    BOOL GetItemRect(int nItem, CRect* pRect, UINT nCode) const;
    int HitTest(CPoint point, UINT* pFlags = nullptr) const;
    void GetClientRect(CRect* pRect) const;
    void ClientToScreen(CPoint* pPoint) const;
    BOOL RedrawItems(int nFirst, int nLast);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const CRect* pRect, BOOL bErase = TRUE);
    void SetRedraw(BOOL bRedraw);
    void MoveWindow(const CRect& rect, BOOL bRepaint = TRUE);
    void SetFocus();

    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;

    // The owner-drawn row: index, a device context on the list's paint and the row's bounds.
    virtual void DrawItem(int nItem, CDC* pDC, const CRect& rcItem);

protected:
    virtual BOOL PreCreateWindow(DWORD& dwStyle);

    // Messages the list handles; the defaults run the tree view's own handling.
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnContextMenu(QWidget* pWnd, CPoint point); // screen point, (-1, -1) from keys
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSetFocus();
    virtual void OnKillFocus();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnFontChange();
    // A row leaves the list (deleted one by one, all at once, or with the list).
    virtual void OnDeleteItem(int nItem, LPARAM lParam);
    void Default();

    // Sends a notification to the parent; 0 without a parent that listens.
    LRESULT NotifyParent(NMHDR& header, int code);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void keyboardSearch(const QString& search) override;

private:
    enum class KeyStage { None, KeyDown, Char };
    void OnHeaderClicked(int nColumn);
    void DefaultKeyDown(QKeyEvent* event);
    bool IsValidItem(int nItem) const { return nItem >= 0 && nItem < GetItemCount(); }
    QRect ItemRowRect(int nItem) const;

    CListCtrlModel* m_pModel = nullptr;
    CListNotifyTarget* m_pNotifyTarget = nullptr;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
    CImageList* m_pSmallImages = nullptr;
    CImageList* m_pNormalImages = nullptr;
    QEvent* m_pCurrentEvent = nullptr;
    KeyStage m_keyStage = KeyStage::None;
    CDC* m_pPaintDC = nullptr;
    bool m_bPressSwallowed = false;
};
