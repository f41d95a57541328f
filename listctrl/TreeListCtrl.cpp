#include "listctrl/TreeListCtrl.h"

#include "framework/Prompter.h"
#include "framework/SystemColours.h"
#include "framework/WindowDC.h"

#include <new>

namespace {

constexpr int kInitialColumnSlots = 16;
constexpr int kLineOffset = 7;
constexpr const char* kOutOfMemoryText = "Out of memory.";

// Used when the text metrics cannot be measured.
constexpr LONG kFallbackAveCharWidth = 7;
constexpr LONG kFallbackHeight = 16;
constexpr LONG kFallbackInternalLeading = 3;

} // namespace

COLORREF ResolveBackground(COLORREF crColumn, COLORREF crControl) {
    if (crColumn == kColumnBackButtonFace)
        return GetSysColor(COLOR_BTNFACE);
    if (crColumn != kColumnBackControl)
        return crColumn;
    if (crControl != kDefaultColour)
        return crControl;
    return GetSysColor(COLOR_WINDOW);
}

CTreeListCtrl::CTreeListCtrl(QWidget* parent) : CListCtrl(parent) {
    m_arrColumns.reserve(kInitialColumnSlots);
    m_arrColumns.resize(kInitialColumnSlots);
}

// The platform destroys the window before the object; here the window goes with the object, so
// the clean-up of its destruction runs first. Rows left by an owner that never called Init are
// freed too.
CTreeListCtrl::~CTreeListCtrl() {
    OnDestroy();
    DeleteAllItems();
}

void CTreeListCtrl::Init() {
    RecalcMetrics();
    m_bInitialised = TRUE;
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
    m_cxChar = m_tm.tmAveCharWidth;
    m_cxButtonColumn = m_tm.tmAveCharWidth + m_cxButton;
    m_nLineOffset = kLineOffset;
}

// ---- columns

int CTreeListCtrl::InsertColumn(int nCol, const std::string& strHeading, BYTE nIndent, COLORREF crBack,
                                BOOL bActive, int nFormat, int nWidth, int nSubItem) {
    const int index = CListCtrl::InsertColumn(nCol, strHeading, nFormat, nWidth, nSubItem);
    if (index == -1)
        return -1;
    // A column without its record would shift every later record against its column, so a
    // failure to store it takes the column out again.
    try {
        m_arrColumns.insert(m_arrColumns.begin() + index,
                            std::make_unique<CColumnInfo>(crBack, bActive, nIndent));
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kOutOfMemoryText);
        CListCtrl::DeleteColumn(index);
        return -1;
    }
    ++m_nColumns;
    m_nCurColumn = -1;
    return index;
}

BOOL CTreeListCtrl::DeleteColumn(int nCol) {
    const bool hasSlot = nCol >= 0 && nCol < static_cast<int>(m_arrColumns.size());
    const bool hasRecord = hasSlot && m_arrColumns[static_cast<std::size_t>(nCol)] != nullptr;
    if (!CListCtrl::DeleteColumn(nCol))
        return FALSE;
    if (hasRecord) {
        m_arrColumns.erase(m_arrColumns.begin() + nCol);
        --m_nColumns;
    }
    return TRUE;
}

const CColumnInfo* CTreeListCtrl::GetColumnInfo(int nCol) const {
    if (nCol < 0 || nCol >= static_cast<int>(m_arrColumns.size()))
        return nullptr;
    return m_arrColumns[static_cast<std::size_t>(nCol)].get();
}

bool CTreeListCtrl::IsColumnActive(int nCol) const {
    const CColumnInfo* column = GetColumnInfo(nCol);
    return column != nullptr && column->bActive;
}

// ---- rows

int CTreeListCtrl::ItemLevel(int nItem) const {
    const ITEMINFO* info = GetItemInfo(nItem);
    return info != nullptr ? info->nLevel : 0;
}

int CTreeListCtrl::InsertItem(int nItem, int nId, const std::string& strText, int nLevel, BOOL bHasChildren,
                              BOOL bExpanded, BOOL bDimmed, BOOL bChecked, COLORREF crText) {
    const int count = GetItemCount();
    if (nItem == -1)
        nItem = count;
    UINT flags = 0;
    if (nItem == 0) {
        if (count > 0)
            SetItemState(0, 0, TLIS_FIRST);
        flags |= TLIS_FIRST;
    }
    if (bHasChildren && bExpanded)
        flags |= TLIS_EXPANDED;

    // The row now at nItem will follow the new one: a sibling there means the new row is not last.
    int next = nItem;
    while (next < count && ItemLevel(next) > nLevel)
        ++next;
    if (next >= count || ItemLevel(next) != nLevel) {
        flags |= TLIS_LAST;
        // Caption rows do not end their siblings' runs.
        if (nItem > 0 && nId != kCaptionRowId) {
            int previous = std::min(nItem, count) - 1;
            while (previous >= 0 && ItemLevel(previous) > nLevel)
                --previous;
            if (previous >= 0 && ItemLevel(previous) == nLevel)
                SetItemState(previous, 0, TLIS_LAST);
        }
    }
    if (bChecked)
        flags |= TLIS_CHECKED;

    auto info = std::make_unique<ITEMINFO>(ITEMINFO{nLevel, nId, bHasChildren, bDimmed, crText});
    const int row = CListCtrl::InsertItem(nItem, strText, reinterpret_cast<LPARAM>(info.get()), flags);
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

void CTreeListCtrl::OnDestroy() {
    if (!m_bInitialised)
        return;
    DeleteAllItems();
    while (DeleteColumn(0)) {
    }
    m_arrColumns.clear();
    m_bInitialised = FALSE;
}

// ---- expanding and checking

void CTreeListCtrl::ToggleExpand(int nItem, BOOL bAll) {
    const ITEMINFO* info = GetItemInfo(nItem);
    if (info == nullptr || !info->bHasChildren)
        return;
    if (!FillNotify(nItem, 0))
        return;
    const BOOL nowExpanded = GetItemState(nItem, TLIS_EXPANDED) == 0 ? TRUE : FALSE;
    if (!SetItemState(nItem, nowExpanded ? TLIS_EXPANDED : 0, TLIS_EXPANDED))
        return;
    SendToParent(WM_LISTCTRL_EXPAND, MAKEWPARAM(static_cast<unsigned>(nowExpanded), bAll ? 1 : 0),
                 NotifyParam());
}

void CTreeListCtrl::ToggleCheck(int nItem) {
    if (!FillNotify(nItem, 0))
        return;
    const BOOL newCheck = GetCheck(nItem) == 0 ? TRUE : FALSE;
    if (SendToParent(WM_LISTCTRL_CHECK, static_cast<WPARAM>(newCheck), NotifyParam()) == 0)
        SetCheck(nItem, newCheck);
}

BOOL CTreeListCtrl::SetCheck(int nItem, BOOL bCheck) {
    return SetItemState(nItem, bCheck ? TLIS_CHECKED : 0, TLIS_CHECKED);
}

UINT CTreeListCtrl::GetCheck(int nItem) const {
    return GetItemState(nItem, LVIS_STATEIMAGEMASK) & TLIS_CHECKED;
}

// ---- geometry

int CTreeListCtrl::TreeIndent(int nLevel) const {
    if (nLevel <= 0)
        return 0;
    const CColumnInfo* column = GetColumnInfo(0);
    const int step = (column != nullptr ? column->nIndent : 0) * m_cxChar;
    return (nLevel - 1) * step + m_cxButtonColumn;
}

int CTreeListCtrl::TreeStepWidth(int nLevel) const {
    if (nLevel <= 0)
        return m_cxButtonColumn;
    const CColumnInfo* column = GetColumnInfo(0);
    return (column != nullptr ? column->nIndent : 0) * m_cxChar;
}

int CTreeListCtrl::SubItemFromPoint(int nItem, CPoint pt) const {
    CRect cell;
    if (!GetItemRect(nItem, &cell))
        return -1;
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    if (!GetColumn(0, &column))
        return -1;
    cell.right = cell.left + column.cx;
    for (int index = 0;; ++index) {
        if (cell.PtInRect(pt))
            return index < m_nColumns ? index : -1;
        if (!GetColumn(index + 1, &column))
            return -1;
        cell.left = cell.right;
        cell.right += column.cx;
    }
}

BOOL CTreeListCtrl::GetCellRect(int nItem, int nCol, RECT* pRect) const {
    if (nCol < 0 || pRect == nullptr)
        return FALSE;
    if (!GetItemRect(nItem, pRect))
        return FALSE;
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    if (!GetColumn(0, &column))
        return FALSE;
    pRect->right = pRect->left + column.cx;
    for (int index = 1; index <= nCol; ++index) {
        if (!GetColumn(index, &column))
            return FALSE;
        pRect->left = pRect->right;
        pRect->right += column.cx;
    }
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
    const int n = m_nColumns;
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
    const ITEMINFO* info = GetItemInfo(nItem);
    m_notify.pCtrl = this;
    m_notify.nColumn = nCol;
    m_notify.nItem = nItem;
    m_notify.nId = info != nullptr ? info->nId : 0;
    m_notify.bDimmed = info != nullptr ? info->bDimmed : 0;
    m_notify.bColumnActive = nCol >= 0 && nCol < m_nColumns && IsColumnActive(nCol) ? TRUE : FALSE;
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
        InvalidateRect(&area, TRUE);
}

// ---- other messages

BOOL CTreeListCtrl::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    CBrush brush(ResolveBackground(kColumnBackControl, m_crBackground));
    pDC->FillRect(client, &brush);
    return TRUE;
}
