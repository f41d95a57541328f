// Painting of one whole row: lead-in, first-column text, the cells and the mark, each only where
// it meets the clip box.

#include "framework/SystemColours.h"
#include "listctrl/TreeListCtrl.h"

#include <cstring>

namespace {

constexpr int kTextBufferSize = 260;
constexpr char kEllipsis[] = "...";
constexpr int kEllipsisLength = 3;
// The lead-in keeps the place of a row image, which this list does not draw.
constexpr int kImageWidth = 16;

// Shared by every list: painting runs on the user-interface thread only.
char g_textBuffer[kTextBufferSize];
char g_shortBuffer[kTextBufferSize - 1 + kEllipsisLength + 1];

void CopyText(const std::string& text) {
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(kTextBufferSize - 1));
    std::memcpy(g_textBuffer, text.data(), length);
    g_textBuffer[length] = '\0';
}

} // namespace

// What one row's painting works out before it draws.
struct CTreeListCtrl::RowPaint {
    int nItem = 0;
    CRect row;
    CRect clip;
    CRect label; // the first column's cell after the margin
    LVCOLUMN column0;
    bool selected = false;
    bool focused = false; // the row has the focus mark and the list the focus
    bool listFocused = false;
    COLORREF textColour = 0;
    COLORREF back = 0;
};

COLORREF CTreeListCtrl::Background() const {
    if (m_crBackground != kDefaultColour)
        return m_crBackground;
    return GetSysColor(COLOR_WINDOW);
}

void CTreeListCtrl::DrawItem(int nItem, CDC* pDC, const CRect& rcItem) {
    RowPaint row;
    if (!GetColumn(0, &row.column0) || nItem < 0 || nItem >= GetItemCount())
        return;
    pDC->SaveDC();
    row.nItem = nItem;
    row.row = rcItem;
    row.label = CRect(rcItem.left + m_nMargin, rcItem.top,
                      std::max(rcItem.left, rcItem.left + row.column0.cx), rcItem.bottom);
    pDC->GetClipBox(&row.clip);
    const UINT state = GetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED);
    const ITEMINFO* info = GetItemInfo(nItem);
    const COLORREF text = info != nullptr ? info->crText : kDefaultColour;
    row.selected = (state & LVIS_SELECTED) != 0;
    row.listFocused = hasFocus();
    row.focused = row.listFocused && (state & LVIS_FOCUSED) != 0;
    row.textColour = text == kDefaultColour ? GetSysColor(COLOR_WINDOWTEXT) : text;
    row.back = Background();
    // Text that is not highlighted goes transparently over its cell's fill.
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(row.back);

    CRect leadIn;
    if (leadIn.IntersectRect(CRect(rcItem.left, rcItem.top, row.label.left + kImageWidth, rcItem.bottom),
                             row.clip))
        pDC->FillSolidRect(leadIn, row.back);
    PaintLabel(row, pDC);
    PaintCells(row, pDC);
    if (nItem == m_nMarkedItem)
        PaintMark(row, pDC);
    pDC->RestoreDC();
}

void CTreeListCtrl::PaintLabel(const RowPaint& row, CDC* pDC) {
    CRect visible;
    if (!visible.IntersectRect(row.label, row.clip))
        return;
    const int cw = m_tm.tmAveCharWidth;
    CRect textRect(row.label.left + cw / 2, row.label.top, row.label.right - (cw - cw / 2), row.label.bottom);
    CopyText(GetItemText(row.nItem, 0));
    const char* shown = nullptr;
    const UINT alignment = FitText(pDC, g_textBuffer, textRect.Width(), row.column0.fmt, &shown);
    const bool highlighted = row.selected && row.listFocused;

    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
    pDC->FillSolidRect(row.label, row.back);
    if (highlighted) {
        pDC->SetBkMode(OPAQUE);
        pDC->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
        pDC->SetBkColor(GetSysColor(COLOR_HIGHLIGHT));
    } else {
        pDC->SetTextColor(row.textColour);
    }

    CRect calc = textRect;
    pDC->DrawText(shown, &calc, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | alignment);
    const CRect box = cw / 2 != 0
                          ? CRect(row.label.left + 1, row.label.top, calc.right + cw / 2, calc.bottom + 1)
                          : CRect(row.label.left, row.label.top, calc.right, calc.bottom + 1);
    pDC->FillSolidRect(box, pDC->GetBkColor());
    pDC->DrawText(shown, &textRect, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | alignment);
    if (row.focused)
        pDC->DrawFocusRect(box);
}

void CTreeListCtrl::PaintCells(const RowPaint& row, CDC* pDC) {
    const int cw = m_tm.tmAveCharWidth;
    int right = row.label.right;
    LVCOLUMN column;
    for (int index = 1; GetColumn(index, &column); ++index) {
        const CRect cell(right, row.label.top, right + column.cx, row.label.bottom);
        right = cell.right;
        CRect visible;
        if (!visible.IntersectRect(cell, row.clip))
            continue;
        if (row.selected && index == m_nCurColumn) {
            pDC->SetBkMode(OPAQUE);
            pDC->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
            pDC->FillSolidRect(visible, GetSysColor(COLOR_HIGHLIGHT));
        } else {
            pDC->SetBkMode(TRANSPARENT);
            pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
            pDC->SetTextColor(row.textColour);
            pDC->FillSolidRect(visible, row.back);
        }
        // A repaint one pixel wide at a cell's edge touches only the fill there.
        if (visible.Width() == 1 && (visible.left == cell.left || visible.left == cell.right - 1))
            continue;
        CRect textRect(cell.left + cw / 3, cell.top, cell.right - (cw / 2 + 2), cell.bottom);
        CopyText(GetItemText(row.nItem, column.iSubItem));
        if (g_textBuffer[0] == '\0')
            continue;
        const char* shown = nullptr;
        const UINT alignment = FitText(pDC, g_textBuffer, textRect.Width(), column.fmt, &shown);
        pDC->DrawText(shown, &textRect, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | alignment);
    }
}

// Text wider than avail becomes its longest prefix that fits, with "..."; shortened text goes
// left-aligned whatever the column says.
UINT CTreeListCtrl::FitText(CDC* pDC, const char* text, int avail, int format, const char** shown) const {
    *shown = text;
    const int length = static_cast<int>(std::strlen(text));
    if (length == 0 || pDC->GetTextExtent(text, length).cx <= avail) {
        switch (format & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_RIGHT:
            return DT_RIGHT;
        case LVCFMT_CENTER:
            return DT_CENTER;
        default:
            return DT_LEFT;
        }
    }
    std::memcpy(g_shortBuffer, text, static_cast<std::size_t>(length) + 1);
    const int ellipsisWidth = pDC->GetTextExtent(kEllipsis, kEllipsisLength).cx;
    int kept = 1;
    for (int prefix = length - 1; prefix >= 1; --prefix) {
        if (pDC->GetTextExtent(g_shortBuffer, prefix).cx + ellipsisWidth <= avail) {
            kept = prefix;
            break;
        }
    }
    g_shortBuffer[kept] = '\0';
    std::strcat(g_shortBuffer, kEllipsis);
    *shown = g_shortBuffer;
    return DT_LEFT;
}

void CTreeListCtrl::PaintMark(const RowPaint& row, CDC* pDC) {
    CPen markPen(PS_SOLID, 1, row.textColour);
    CPen* previous = pDC->SelectObject(&markPen);
    const CRect& r = row.row;
    pDC->MoveTo(r.left, r.top);
    pDC->LineTo(r.right - 1, r.top);
    pDC->LineTo(r.right - 1, r.bottom - 1);
    pDC->LineTo(r.left, r.bottom - 1);
    pDC->LineTo(r.left, r.top);
    pDC->SelectObject(previous);
}
