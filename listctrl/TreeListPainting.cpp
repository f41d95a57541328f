// Painting of one whole row: lead-in, tree step, ancestor lines, image, first-column text, the
// cells and the grid lines, each only where it meets the clip box.

#include "framework/SystemColours.h"
#include "listctrl/TreeListCtrl.h"

#include <cstring>

namespace {

constexpr int kTextBufferSize = 260;
constexpr char kEllipsis[] = "...";
constexpr int kEllipsisLength = 3;
constexpr int kImageWidth = 16;
constexpr UINT kAllStateBits = 0xFFFF;

// Shared by every list: painting runs on the user-interface thread only.
char g_textBuffer[kTextBufferSize];
char g_shortBuffer[kTextBufferSize - 1 + kEllipsisLength + 1];

const ITEMINFO kPlainRow{};

bool Meets(const CRect& a, const CRect& b) {
    CRect common;
    return common.IntersectRect(a, b);
}

// Dots a, a + step, ... while below b, along one axis.
void VerticalDots(CDC* pDC, int x, int from, int to, int step, COLORREF colour) {
    for (int y = from; y < to; y += step)
        pDC->SetPixelV(x, y, colour);
}

void HorizontalDots(CDC* pDC, int y, int from, int to, int step, COLORREF colour) {
    for (int x = from; x < to; x += step)
        pDC->SetPixelV(x, y, colour);
}

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
    CRect label;
    CRect icon;
    LVCOLUMN column0;
    UINT state = 0;
    const ITEMINFO* info = &kPlainRow;
    int level = 0;
    int indent0 = 0; // column 0's indent in character widths
    bool caption = false;
    bool dimmed = false;
    bool selected = false;
    bool focused = false;
    COLORREF textColour = 0;
    COLORREF rowBack = 0;
    bool lastRow = false;
    bool nextTop = false;
    bool nextCaption = false;
    int step = 1;
    int centreY = 0;
    int treeStep = 0; // P
    int stepLeft = 0;
    int stepRight = 0;
    int lineX = 0;
    int bkMode = TRANSPARENT;
    COLORREF shadow = 0;
};

COLORREF CTreeListCtrl::BackgroundOf(COLORREF crBack) const {
    return ResolveBackground(crBack, m_crBackground);
}

void CTreeListCtrl::DrawItem(int nItem, CDC* pDC, const CRect& rcItem) {
    pDC->SaveDC();
    RowPaint row;
    row.shadow = GetSysColor(COLOR_BTNSHADOW);
    CPen shadowPen(PS_SOLID, 1, row.shadow);
    pDC->SelectObject(&shadowPen);
    if (PrepareRow(row, pDC, nItem, rcItem)) {
        // Lead-in: margin, tree step and the image's place.
        CRect leadIn;
        if (leadIn.IntersectRect(CRect(row.row.left, row.row.top, row.icon.right, row.row.bottom), row.clip))
            pDC->FillSolidRect(leadIn, row.rowBack);
        PaintTreeStep(row, pDC);
        PaintAncestorLines(row, pDC);
        PaintLabel(row, pDC);
        PaintGridLines(row, pDC, PaintCells(row, pDC));
        if (nItem == m_nMarkedItem)
            PaintMark(row, pDC);
    }
    pDC->RestoreDC(-1);
}

bool CTreeListCtrl::PrepareRow(RowPaint& row, CDC* pDC, int nItem, const CRect& rcItem) {
    row.nItem = nItem;
    row.row = rcItem;
    row.column0.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    if (!GetColumn(0, &row.column0) || nItem < 0 || nItem >= GetItemCount())
        return false;
    // The label is the first column's cell; the image's place, without images, has no width.
    row.icon = CRect(rcItem.left, rcItem.top, rcItem.left, rcItem.bottom);
    row.label =
        CRect(rcItem.left, rcItem.top, std::max(rcItem.left, rcItem.left + row.column0.cx), rcItem.bottom);
    pDC->GetClipBox(&row.clip);

    CopyText(GetItemText(nItem, 0));
    row.state = GetItemState(nItem, kAllStateBits);
    if (const ITEMINFO* info = GetItemInfo(nItem); info != nullptr)
        row.info = info;
    const ITEMINFO* next = GetItemInfo(nItem + 1);
    row.lastRow = nItem + 1 >= GetItemCount();
    row.nextTop = row.lastRow || (next != nullptr ? next->nLevel == 0 : true);
    row.nextCaption = !row.lastRow && next != nullptr && next->nId == kCaptionRowId;

    const CColumnInfo* column0 = GetColumnInfo(0);
    const COLORREF column0Back = column0 != nullptr ? column0->crBack : kColumnBackControl;
    row.level = row.info->nLevel;
    row.indent0 = column0 != nullptr ? column0->nIndent : 0;
    row.caption = row.info->nId == kCaptionRowId;
    row.dimmed = row.info->bDimmed && m_bDimDisabled && !row.caption;
    row.selected = (row.state & LVIS_SELECTED) != 0;
    row.focused = hasFocus();
    row.textColour = row.info->crText == kDefaultColour ? GetSysColor(COLOR_WINDOWTEXT) : row.info->crText;
    row.rowBack = row.caption ? GetSysColor(COLOR_BTNFACE) : BackgroundOf(column0Back);
    // Dots fall on every other pixel, or on every pixel when that keeps them in phase across rows.
    const int lineHeight = m_tm.tmHeight + m_tm.tmExternalLeading - m_tm.tmInternalLeading;
    row.step = 1 + lineHeight % 2;
    row.centreY = row.row.top + m_tm.tmHeight / 2;

    row.treeStep = row.indent0 * m_cxChar;
    row.stepLeft = row.row.left + m_nMargin + TreeIndent(row.level);
    row.stepRight = row.stepLeft + TreeStepWidth(row.level);
    if (row.level == 0)
        row.lineX = row.stepLeft + m_nLineOffset;
    else
        row.lineX = row.stepLeft + (row.indent0 <= 1 ? 2 : m_cxChar - 2);
    const int shift = TreeIndent(row.level) + m_nMargin + (m_bButtons ? TreeStepWidth(row.level) : 0);
    row.label.left = row.caption ? row.row.left : row.label.left + shift;
    row.icon.left += shift;
    row.icon.right = row.icon.left + kImageWidth;

    // Text that is not highlighted goes transparently over its cell's fill, so that a coloured
    // background shows behind the glyphs.
    pDC->SetBkMode(TRANSPARENT);
    row.bkMode = pDC->GetBkMode();
    pDC->SetBkColor(row.rowBack);
    return true;
}

void CTreeListCtrl::PaintTreeStep(RowPaint& row, CDC* pDC) {
    if (!Meets(CRect(row.stepLeft, row.row.top, row.stepRight, row.row.bottom), row.clip))
        return;
    const bool linesWanted = m_bLines && (row.level > 0 || m_bLinesAtRoot) && row.treeStep >= 3;
    const bool first = (row.state & TLIS_FIRST) != 0;
    const bool last = (row.state & TLIS_LAST) != 0;
    if (row.info->bHasChildren) {
        if (!m_bButtons)
            return;
        const int x = row.level > 0 && m_bButtonsAtEnd ? row.stepRight - m_cxButton : row.lineX;
        const int y = row.centreY;
        const int size = row.level > 0 ? m_cxButton : std::min(m_cxButtonColumn, m_cxButton);
        const int h = size / 2;
        HorizontalDots(pDC, row.centreY, row.lineX, row.stepRight, row.step, row.shadow);
        if (linesWanted) {
            if (!first)
                VerticalDots(pDC, row.lineX, row.row.top, row.centreY - h, row.step, row.shadow);
            if (!last)
                VerticalDots(pDC, row.lineX, row.centreY + h + row.step, row.row.bottom, row.step,
                             row.shadow);
        }
        if (h > 0) {
            CGdiObject* oldBrush = pDC->SelectStockObject(WHITE_BRUSH);
            pDC->Rectangle(x - h, y - h, x + h + 1, y + h + 1);
            CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
            pDC->MoveTo(x - h / 2, y);
            pDC->LineTo(x + h / 2 + 1, y);
            if ((row.state & TLIS_EXPANDED) == 0) {
                pDC->MoveTo(x, y - h / 2);
                pDC->LineTo(x, y + h / 2 + 1);
            }
            pDC->SelectGdiObject(oldPen);
            pDC->SelectGdiObject(oldBrush);
        }
        return;
    }
    if (!linesWanted)
        return;
    if (!row.caption && !(first && row.lastRow))
        HorizontalDots(pDC, row.centreY, row.lineX, row.stepRight, row.step, row.shadow);
    if (!first && !row.caption)
        VerticalDots(pDC, row.lineX, row.row.top, row.centreY, row.step, row.shadow);
    if (!last && !row.caption)
        VerticalDots(pDC, row.lineX, row.centreY + row.step, row.row.bottom, row.step, row.shadow);
}

// An ancestor with a later sibling has its line pass through this row.
void CTreeListCtrl::PaintAncestorLines(RowPaint& row, CDC* pDC) {
    if (!Meets(CRect(row.row.left, row.row.top, row.stepRight, row.row.bottom), row.clip) || !m_bLines ||
        row.treeStep < 3)
        return;
    const int minLevel = m_bLinesAtRoot ? 0 : 1;
    if (row.level <= minLevel)
        return;
    int level = row.level;
    int scan = row.nItem + 1;
    const int count = GetItemCount();
    while (true) {
        const ITEMINFO* found = nullptr;
        for (; scan < count; ++scan) {
            const ITEMINFO* info = GetItemInfo(scan);
            if (info != nullptr && info->nLevel < level && info->nId != kCaptionRowId) {
                found = info;
                break;
            }
        }
        if (found == nullptr || found->nLevel < minLevel)
            return;
        const int ancestor = found->nLevel;
        const int offset = ancestor == 0 ? m_nLineOffset : (row.indent0 <= 1 ? 2 : m_cxChar - 2);
        VerticalDots(pDC, row.row.left + m_nMargin + TreeIndent(ancestor) + offset, row.row.top,
                     row.row.bottom, row.step, row.shadow);
        level = ancestor;
        if (level <= minLevel)
            return;
    }
}

void CTreeListCtrl::PaintLabel(RowPaint& row, CDC* pDC) {
    if (!Meets(row.label, row.clip))
        return;
    const int cw = m_tm.tmAveCharWidth;
    CRect textRect(row.label.left + cw / 2, row.label.top, row.label.right - (cw - cw / 2), row.label.bottom);
    const char* shown = nullptr;
    const UINT alignment = FitText(pDC, g_textBuffer, textRect.Width(), row.column0.fmt, &shown);
    const bool highlighted = row.selected && row.focused && !row.caption;

    pDC->SetBkMode(row.bkMode);
    pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
    pDC->FillSolidRect(row.label, row.rowBack);
    if (highlighted) {
        pDC->SetBkMode(OPAQUE);
        pDC->SetTextColor(GetSysColor(row.dimmed ? COLOR_INACTIVECAPTIONTEXT : COLOR_HIGHLIGHTTEXT));
        pDC->SetBkColor(GetSysColor(row.dimmed ? COLOR_INACTIVECAPTION : COLOR_HIGHLIGHT));
    } else {
        pDC->SetTextColor(row.dimmed ? GetSysColor(COLOR_GRAYTEXT) : row.textColour);
    }

    CRect calc = textRect;
    pDC->DrawText(shown, &calc, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | alignment);
    const CRect box = cw / 2 != 0
                          ? CRect(row.label.left + 1, row.label.top, calc.right + cw / 2, calc.bottom + 1)
                          : CRect(row.label.left, row.label.top, calc.right, calc.bottom + 1);
    pDC->FillSolidRect(box, pDC->GetBkColor());
    pDC->DrawText(shown, &textRect, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | alignment);
    if (row.focused && !row.caption && (row.state & LVIS_FOCUSED) != 0)
        pDC->DrawFocusRect(box);
}

// Returns the right edge of the last column.
int CTreeListCtrl::PaintCells(RowPaint& row, CDC* pDC) {
    const int cw = m_tm.tmAveCharWidth;
    int right = row.label.right;
    LVCOLUMN column;
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    for (int index = 1; GetColumn(index, &column); ++index) {
        const CRect cell(right, row.label.top, right + column.cx, row.label.bottom);
        right = cell.right;
        CRect visible;
        if (!visible.IntersectRect(cell, row.clip))
            continue;
        const CColumnInfo* info = GetColumnInfo(index);
        const bool active = info != nullptr && info->bActive;
        const bool highlighted =
            row.selected && (index == m_nCurColumn || (row.info->bDimmed && active && m_nCurColumn != -1));
        if (highlighted) {
            const bool plain = !row.dimmed && !row.caption;
            const COLORREF back = GetSysColor(plain ? COLOR_HIGHLIGHT : COLOR_INACTIVECAPTION);
            pDC->SetBkMode(OPAQUE);
            pDC->SetTextColor(GetSysColor(plain ? COLOR_HIGHLIGHTTEXT : COLOR_INACTIVECAPTIONTEXT));
            pDC->FillSolidRect(visible, back);
        } else {
            const COLORREF back = row.caption
                                      ? GetSysColor(COLOR_BTNFACE)
                                      : BackgroundOf(info != nullptr ? info->crBack : kColumnBackControl);
            pDC->SetBkMode(row.bkMode);
            pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
            pDC->SetTextColor(row.dimmed ? GetSysColor(COLOR_GRAYTEXT) : row.textColour);
            pDC->FillSolidRect(visible, back);
        }
        // Thin repaints at a cell's edge touch only what lies there.
        if (visible.Width() == 1) {
            if (visible.left == cell.left && m_bVertGrid) {
                pDC->MoveTo(cell.left, row.row.top);
                pDC->LineTo(cell.left, row.row.bottom);
            }
            if (visible.left == cell.left || visible.left == cell.right - 1)
                continue;
        }
        if (m_bVertGrid) {
            pDC->MoveTo(cell.left, row.row.top);
            pDC->LineTo(cell.left, row.row.bottom);
        }
        const int indent = (info != nullptr ? info->nIndent : 0) * row.level * m_cxChar;
        CRect textRect(cell.left + indent + cw / 3, cell.top, cell.right - (cw / 2 + 2), cell.bottom);
        CopyText(GetItemText(row.nItem, column.iSubItem));
        if (g_textBuffer[0] == '\0')
            continue;
        const char* shown = nullptr;
        const UINT alignment = FitText(pDC, g_textBuffer, textRect.Width(), column.fmt, &shown);
        pDC->DrawText(shown, &textRect, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | alignment);
    }
    return right;
}

void CTreeListCtrl::PaintGridLines(RowPaint& row, CDC* pDC, int lastRight) {
    CRect line;
    if (m_bVertGrid &&
        line.IntersectRect(CRect(lastRight - 1, row.row.top, lastRight, row.row.bottom), row.clip)) {
        pDC->MoveTo(line.left, line.top);
        pDC->LineTo(line.left, line.bottom);
    }
    if (!m_bHorzGrid)
        return;
    // Under a row whose tree goes on, the line stops short of the tree area.
    const bool fullWidth = row.lastRow || row.nextCaption || (!(m_bLines && m_bLinesAtRoot) && row.nextTop);
    const int startX = fullWidth ? row.row.left : std::min(row.label.left, row.label.right) + 1;
    if (line.IntersectRect(CRect(startX, row.row.bottom - 1, row.row.right, row.row.bottom), row.clip)) {
        pDC->MoveTo(line.left, line.top);
        pDC->LineTo(line.right, line.top);
    }
}

// Text wider than avail becomes its longest prefix that fits, with "..."; shortened text goes
// left-aligned whatever the column says.
UINT CTreeListCtrl::FitText(CDC* pDC, const char* text, int avail, int format, const char** shown) const {
    *shown = text;
    if (!m_bFitText)
        return DT_LEFT;
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
    const int ellipsisWidth = m_bEllipsis ? pDC->GetTextExtent(kEllipsis, kEllipsisLength).cx : 0;
    int kept = 1;
    for (int prefix = length - 1; prefix >= 1; --prefix) {
        if (pDC->GetTextExtent(g_shortBuffer, prefix).cx + ellipsisWidth <= avail) {
            kept = prefix;
            break;
        }
    }
    g_shortBuffer[kept] = '\0';
    if (m_bEllipsis)
        std::strcat(g_shortBuffer, kEllipsis);
    *shown = g_shortBuffer;
    return DT_LEFT;
}

void CTreeListCtrl::PaintMark(RowPaint& row, CDC* pDC) {
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
