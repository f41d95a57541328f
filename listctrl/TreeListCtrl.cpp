#include "listctrl/TreeListCtrl.h"

#include "framework/Prompter.h"
#include "framework/SystemColours.h"
#include "framework/WindowDC.h"

#include <memory>
#include <new>

namespace {

constexpr const char* kOutOfMemoryText = "Out of memory.";

// Used when the text metrics cannot be measured.
constexpr LONG kFallbackAveCharWidth = 7;
constexpr LONG kFallbackHeight = 16;
constexpr LONG kFallbackInternalLeading = 3;

} // namespace

CTreeListCtrl::CTreeListCtrl(QWidget* parent) : CListCtrl(parent) {}

// The rows' records are freed here: the list's own destructor no longer reaches OnDeleteItem.
CTreeListCtrl::~CTreeListCtrl() {
    DeleteAllItems();
}

void CTreeListCtrl::Init() {
    RecalcMetrics();
}

// Measured with the window's default font, not the font the list paints with.
void CTreeListCtrl::RecalcMetrics() {
    m_tm = TEXTMETRIC();
    bool measured = false;
    try {
        CClientDC dc(this);
        measured = dc.GetTextMetrics(&m_tm) && m_tm.tmAveCharWidth > 0;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kOutOfMemoryText);
    }
    if (!measured) {
        m_tm = TEXTMETRIC();
        m_tm.tmAveCharWidth = kFallbackAveCharWidth;
        m_tm.tmHeight = kFallbackHeight;
        m_tm.tmInternalLeading = kFallbackInternalLeading;
        m_tm.tmExternalLeading = 0;
    }
}

// ---- columns

int CTreeListCtrl::InsertColumn(int nCol, const std::string& strHeading, BOOL bActive, int nFormat,
                                int nWidth) {
    const int index = CListCtrl::InsertColumn(nCol, strHeading, nFormat, nWidth);
    if (index == -1)
        return -1;
    m_arrColumns.insert(m_arrColumns.begin() + index, CColumnInfo{bActive});
    m_nCurColumn = -1;
    return index;
}

BOOL CTreeListCtrl::DeleteColumn(int nCol) {
    if (!CListCtrl::DeleteColumn(nCol))
        return FALSE;
    m_arrColumns.erase(m_arrColumns.begin() + nCol);
    return TRUE;
}

const CColumnInfo* CTreeListCtrl::GetColumnInfo(int nCol) const {
    if (nCol < 0 || nCol >= ColumnCount())
        return nullptr;
    return &m_arrColumns[static_cast<std::size_t>(nCol)];
}

bool CTreeListCtrl::IsColumnActive(int nCol) const {
    const CColumnInfo* column = GetColumnInfo(nCol);
    return column != nullptr && column->bActive;
}

// ---- rows

int CTreeListCtrl::InsertItem(int nItem, const std::string& strText, COLORREF crText) {
    auto info = std::make_unique<ITEMINFO>(ITEMINFO{crText});
    const int row = CListCtrl::InsertItem(nItem == -1 ? GetItemCount() : nItem, strText,
                                          reinterpret_cast<LPARAM>(info.get()));
    // The list owns the record from here on and hands it back through OnDeleteItem.
    if (row != -1)
        info.release();
    return row;
}

void CTreeListCtrl::OnDeleteItem(int, LPARAM lParam) {
    std::unique_ptr<ITEMINFO> freed(reinterpret_cast<ITEMINFO*>(lParam));
    m_nMarkedItem = -1;
}

void CTreeListCtrl::SetMarkedItem(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount())
        nItem = -1;
    if (nItem == m_nMarkedItem)
        return;
    const int previous = m_nMarkedItem;
    m_nMarkedItem = nItem;
    for (const int row : {previous, nItem})
        if (row != -1)
            RedrawItems(row, row);
}

// ---- geometry

int CTreeListCtrl::SubItemFromPoint(int nItem, CPoint pt) const {
    for (int column = 0; column < ColumnCount(); ++column) {
        CRect cell;
        if (GetCellRect(nItem, column, &cell) && cell.PtInRect(pt))
            return column;
    }
    return -1;
}

BOOL CTreeListCtrl::GetCellRect(int nItem, int nCol, CRect* pRect) const {
    if (nCol < 0 || nCol >= GetColumnCount() || pRect == nullptr || !GetItemRect(nItem, pRect))
        return FALSE;
    for (int column = 0; column < nCol; ++column)
        pRect->left += GetColumnWidth(column);
    pRect->right = pRect->left + GetColumnWidth(nCol);
    return TRUE;
}

// ---- current column

void CTreeListCtrl::SetCurColumn(int nCol, int nRepaintItem) {
    if (nCol == m_nCurColumn)
        return;
    m_nCurColumn = nCol;
    if (nRepaintItem >= 0)
        RedrawItems(nRepaintItem, nRepaintItem);
}

void CTreeListCtrl::NextColumn() {
    StepCurColumn(+1);
}

void CTreeListCtrl::PrevColumn() {
    StepCurColumn(-1);
}

// Walks from the current column to the next active one in the direction of step, wrapping round;
// from none it starts at the edge it walks away from, and it ends on none when no column is active.
void CTreeListCtrl::StepCurColumn(int step) {
    const int n = ColumnCount();
    if (n == 0) {
        SetCurColumn(-1, FirstSelectedItem());
        return;
    }
    const int lastOfWalk = step > 0 ? n - 1 : 0;
    int c = m_nCurColumn;
    int stop = m_nCurColumn;
    if (c < 0 || c >= n) {
        stop = lastOfWalk;
        c = step > 0 ? -1 : n;
    }
    do {
        c = (c + n + step) % n;
    } while (c != stop && !IsColumnActive(c));
    SetCurColumn(c == lastOfWalk && !IsColumnActive(c) ? -1 : c, FirstSelectedItem());
}

void CTreeListCtrl::SetCurColumnFromPoint(int nItem, CPoint pt) {
    const int c = SubItemFromPoint(nItem, pt);
    if (c != -1 && IsColumnActive(c))
        SetCurColumn(c, nItem);
}

// ---- notifications

BOOL CTreeListCtrl::FillNotify(int nItem, int nCol) {
    if (nItem < 0 || nItem >= GetItemCount())
        return FALSE;
    m_notify.pCtrl = this;
    m_notify.nColumn = nCol;
    m_notify.nItem = nItem;
    m_notify.bColumnActive = IsColumnActive(nCol) ? TRUE : FALSE;
    return TRUE;
}

LRESULT CTreeListCtrl::SendToParent(UINT message, WPARAM wParam, LPARAM lParam) {
    auto* target = dynamic_cast<CListCtrlMessageTarget*>(parentWidget());
    return target != nullptr ? target->OnListCtrlMessage(message, wParam, lParam) : 0;
}

void CTreeListCtrl::InvalidateItems(int nFirst, int nLast) {
    const int firstColumnWidth = GetColumnWidth(0);
    CRect area;
    for (int row = nFirst; row <= nLast; ++row) {
        CRect bounds;
        if (!GetItemRect(row, &bounds))
            continue;
        bounds.right = bounds.left + firstColumnWidth;
        area.UnionRect(area, bounds);
    }
    if (!area.IsRectEmpty())
        viewport()->update(QRect(area.left, area.top, area.Width(), area.Height()));
}

BOOL CTreeListCtrl::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    CBrush brush(Background());
    pDC->FillRect(client, &brush);
    return TRUE;
}
