#include "framework/CListCtrl.h"

#include "framework/CDC.h"
#include "framework/TextBytes.h"
#include "framework/VirtualKeys.h"
#include "framework/WindowDC.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>

namespace {

constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
// The selection and focus bits live in the view's selection model, the others with the row.
constexpr UINT kViewStateBits = LVIS_SELECTED | LVIS_FOCUSED;

UINT MouseFlags(const QMouseEvent& event) {
    UINT flags = 0;
    if (event.buttons().testFlag(Qt::LeftButton))
        flags |= MK_LBUTTON;
    if (event.buttons().testFlag(Qt::RightButton))
        flags |= MK_RBUTTON;
    if (event.modifiers().testFlag(Qt::ShiftModifier))
        flags |= MK_SHIFT;
    if (event.modifiers().testFlag(Qt::ControlModifier))
        flags |= MK_CONTROL;
    return flags;
}

Qt::Alignment AlignmentOf(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// A key that produces a character the list's type-ahead search can use.
bool HasCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F;
}

} // namespace

// The rows and columns of one list. Texts are kept per sub-item; a column shows the sub-item it
// names, so deleting a column keeps the texts of the others where they are.
class CListCtrlModel : public QAbstractTableModel {
public:
    struct Column {
        int format = LVCFMT_LEFT;
        std::string heading;
        int subItem = 0;
    };
    struct Row {
        std::vector<std::string> texts;
        UINT state = 0; // all but the selection and focus bits
        int image = 0;
        LPARAM data = 0;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const Column& column = m_columns[static_cast<std::size_t>(index.column())];
        if (role == Qt::DisplayRole)
            return TextFromBytes(Text(index.row(), column.subItem));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(AlignmentOf(column.format));
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
            return {};
        const Column& column = m_columns[static_cast<std::size_t>(section)];
        if (role == Qt::DisplayRole)
            return TextFromBytes(column.heading);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(AlignmentOf(column.format));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    Row& RowAt(int row) { return m_rows[static_cast<std::size_t>(row)]; }
    const Row& RowAt(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    Column& ColumnAt(int column) { return m_columns[static_cast<std::size_t>(column)]; }
    const Column& ColumnAt(int column) const { return m_columns[static_cast<std::size_t>(column)]; }

    std::string Text(int row, int subItem) const {
        const std::vector<std::string>& texts = RowAt(row).texts;
        if (subItem < 0 || subItem >= static_cast<int>(texts.size()))
            return {};
        return texts[static_cast<std::size_t>(subItem)];
    }
    void SetText(int row, int subItem, const std::string& text) {
        std::vector<std::string>& texts = RowAt(row).texts;
        if (subItem >= static_cast<int>(texts.size()))
            texts.resize(static_cast<std::size_t>(subItem) + 1);
        texts[static_cast<std::size_t>(subItem)] = text;
        RowChanged(row);
    }
    void RowChanged(int row) { emit dataChanged(index(row, 0), index(row, std::max(0, ColumnCount() - 1))); }

    void Reserve(int rows) { m_rows.reserve(static_cast<std::size_t>(std::max(0, rows))); }

    void InsertRow(int row, Row record) {
        beginInsertRows({}, row, row);
        m_rows.insert(m_rows.begin() + row, std::move(record));
        endInsertRows();
    }
    Row TakeRow(int row) {
        beginRemoveRows({}, row, row);
        Row record = std::move(RowAt(row));
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
        return record;
    }
    std::vector<Row> TakeAllRows() {
        beginResetModel();
        std::vector<Row> rows = std::move(m_rows);
        m_rows.clear();
        endResetModel();
        return rows;
    }

    void InsertColumn(int column, Column record) {
        beginInsertColumns({}, column, column);
        m_columns.insert(m_columns.begin() + column, std::move(record));
        endInsertColumns();
    }
    void RemoveColumn(int column) {
        beginRemoveColumns({}, column, column);
        m_columns.erase(m_columns.begin() + column);
        endRemoveColumns();
    }

private:
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};

// ---- image list

BOOL CImageList::Create(int cx, int cy) {
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    return TRUE;
}

int CImageList::Add(const QImage& image) {
    m_images.push_back(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                           .scaled(m_cx, m_cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return GetImageCount() - 1;
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, CPoint pt, CSize size, COLORREF crBk, COLORREF crFg,
                        UINT nStyle) const {
    if (pDC == nullptr || nImage < 0 || nImage >= GetImageCount())
        return FALSE;
    const int cx = size.cx > 0 ? std::min<int>(size.cx, m_cx) : m_cx;
    const int cy = size.cy > 0 ? std::min<int>(size.cy, m_cy) : m_cy;
    QImage image = m_images[static_cast<std::size_t>(nImage)].copy(0, 0, cx, cy);
    if ((nStyle & ILD_BLEND25) != 0 && crFg != kDefaultColour) {
        QPainter tint(&image);
        tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        tint.fillRect(image.rect(), QColor(GetRValue(crFg), GetGValue(crFg), GetBValue(crFg), 64));
    }
    CPoint device = pt;
    pDC->LPtoDP(&device);
    QPainter* painter = pDC->GetPainter();
    if (painter == nullptr)
        return FALSE;
    // A background colour shows through the image's transparent parts, as with masked images.
    if (crBk != kDefaultColour)
        painter->fillRect(device.x, device.y, cx, cy,
                          QColor(GetRValue(crBk), GetGValue(crBk), GetBValue(crBk)));
    painter->drawImage(device.x, device.y, image);
    return TRUE;
}

// ---- the list

CListCtrl::CListCtrl(QWidget* parent) : QTreeView(parent), m_pModel(new CListCtrlModel(this)) {
    setModel(m_pModel);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        NMLISTVIEW changed;
        NotifyParent(changed.hdr, LVN_ITEMCHANGED);
    });
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(0);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setMinimumSectionSize(0);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Every pixel of the row area is painted by the erase step and the rows.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(header(), &QHeaderView::sectionClicked, this, &CListCtrl::OnHeaderClicked);
}

CListCtrl::~CListCtrl() {
    DeleteAllItems();
}

BOOL CListCtrl::Create(DWORD dwStyle, const CRect& rect, QWidget* pParentWnd, UINT nID) {
    if (!PreCreateWindow(dwStyle))
        return FALSE;
    m_dwStyle = dwStyle;
    m_nID = nID;
    if (pParentWnd != nullptr)
        setParent(pParentWnd);
    m_pNotifyTarget = dynamic_cast<CListNotifyTarget*>(pParentWnd);
    MoveWindow(rect, FALSE);
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

BOOL CListCtrl::PreCreateWindow(DWORD&) {
    return TRUE;
}

// ---- columns

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn) {
    if (pColumn == nullptr || nCol < 0)
        return -1;
    nCol = std::min(nCol, GetColumnCount());
    CListCtrlModel::Column column;
    if ((pColumn->mask & LVCF_FMT) != 0)
        column.format = pColumn->fmt;
    if ((pColumn->mask & LVCF_TEXT) != 0)
        column.heading = pColumn->text;
    column.subItem = (pColumn->mask & LVCF_SUBITEM) != 0 ? pColumn->iSubItem : 0;
    m_pModel->InsertColumn(nCol, std::move(column));
    header()->resizeSection(nCol, (pColumn->mask & LVCF_WIDTH) != 0 ? std::max(0, pColumn->cx) : 0);
    return nCol;
}

int CListCtrl::InsertColumn(int nCol, const std::string& heading, int nFormat, int nWidth, int nSubItem) {
    LVCOLUMN column;
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = nFormat;
    column.text = heading;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    if (nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    m_pModel->RemoveColumn(nCol);
    return TRUE;
}

BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const {
    if (pColumn == nullptr || nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    const CListCtrlModel::Column& column = m_pModel->ColumnAt(nCol);
    if ((pColumn->mask & LVCF_FMT) != 0)
        pColumn->fmt = column.format;
    if ((pColumn->mask & LVCF_WIDTH) != 0)
        pColumn->cx = GetColumnWidth(nCol);
    if ((pColumn->mask & LVCF_TEXT) != 0)
        pColumn->text = column.heading;
    if ((pColumn->mask & LVCF_SUBITEM) != 0)
        pColumn->iSubItem = column.subItem;
    return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const {
    if (nCol < 0 || nCol >= GetColumnCount())
        return 0;
    return header()->sectionSize(nCol);
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    if (nCol < 0 || nCol >= GetColumnCount())
        return FALSE;
    header()->resizeSection(nCol, std::max(0, cx));
    return TRUE;
}

int CListCtrl::GetColumnCount() const {
    return m_pModel->ColumnCount();
}

// ---- rows

int CListCtrl::InsertItem(const LVITEM* pItem) {
    if (pItem == nullptr || pItem->iItem < 0 || pItem->iSubItem != 0)
        return -1;
    const int row = std::min(pItem->iItem, GetItemCount());
    CListCtrlModel::Row record;
    if ((pItem->mask & LVIF_TEXT) != 0)
        record.texts.push_back(pItem->text);
    if ((pItem->mask & LVIF_IMAGE) != 0)
        record.image = pItem->iImage;
    if ((pItem->mask & LVIF_PARAM) != 0)
        record.data = pItem->lParam;
    const UINT stateMask = (pItem->mask & LVIF_STATE) != 0 ? pItem->stateMask : 0;
    record.state = pItem->state & stateMask & ~kViewStateBits;
    m_pModel->InsertRow(row, std::move(record));
    if ((stateMask & kViewStateBits) != 0)
        SetItemState(row, pItem->state, stateMask & kViewStateBits);
    return row;
}

int CListCtrl::InsertItem(int nItem, const std::string& text) {
    LVITEM item;
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.text = text;
    return InsertItem(&item);
}

// The row leaves the model before its owner hears of it, so nothing paints a row whose item data
// is already gone.
BOOL CListCtrl::DeleteItem(int nItem) {
    if (!IsValidItem(nItem))
        return FALSE;
    const CListCtrlModel::Row record = m_pModel->TakeRow(nItem);
    OnDeleteItem(nItem, record.data);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    const std::vector<CListCtrlModel::Row> rows = m_pModel->TakeAllRows();
    for (std::size_t row = 0; row < rows.size(); ++row)
        OnDeleteItem(static_cast<int>(row), rows[row].data);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    return m_pModel->RowCount();
}

void CListCtrl::SetItemCount(int nItems) {
    m_pModel->Reserve(nItems);
}

BOOL CListCtrl::GetItem(LVITEM* pItem) const {
    if (pItem == nullptr || !IsValidItem(pItem->iItem))
        return FALSE;
    const CListCtrlModel::Row& record = m_pModel->RowAt(pItem->iItem);
    if ((pItem->mask & LVIF_TEXT) != 0) {
        pItem->text = m_pModel->Text(pItem->iItem, pItem->iSubItem);
        if (pItem->cchTextMax > 0 && static_cast<int>(pItem->text.size()) >= pItem->cchTextMax)
            pItem->text.resize(static_cast<std::size_t>(pItem->cchTextMax - 1));
    }
    if ((pItem->mask & LVIF_IMAGE) != 0)
        pItem->iImage = record.image;
    if ((pItem->mask & LVIF_PARAM) != 0)
        pItem->lParam = record.data;
    if ((pItem->mask & LVIF_STATE) != 0)
        pItem->state = GetItemState(pItem->iItem, pItem->stateMask);
    return TRUE;
}

BOOL CListCtrl::SetItem(const LVITEM* pItem) {
    if (pItem == nullptr || !IsValidItem(pItem->iItem) || pItem->iSubItem < 0)
        return FALSE;
    CListCtrlModel::Row& record = m_pModel->RowAt(pItem->iItem);
    if ((pItem->mask & LVIF_IMAGE) != 0)
        record.image = pItem->iImage;
    if ((pItem->mask & LVIF_PARAM) != 0)
        record.data = pItem->lParam;
    if ((pItem->mask & LVIF_TEXT) != 0)
        m_pModel->SetText(pItem->iItem, pItem->iSubItem, pItem->text);
    if ((pItem->mask & LVIF_STATE) != 0)
        SetItemState(pItem->iItem, pItem->state, pItem->stateMask);
    m_pModel->RowChanged(pItem->iItem);
    return TRUE;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::string& text) {
    if (!IsValidItem(nItem) || nSubItem < 0)
        return FALSE;
    m_pModel->SetText(nItem, nSubItem, text);
    return TRUE;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    if (!IsValidItem(nItem))
        return {};
    return m_pModel->Text(nItem, nSubItem);
}

int CListCtrl::GetItemText(int nItem, int nSubItem, char* buffer, int nLen) const {
    if (buffer == nullptr || nLen <= 0)
        return 0;
    const std::string text = GetItemText(nItem, nSubItem);
    const int length = std::min(static_cast<int>(text.size()), nLen - 1);
    std::copy_n(text.data(), length, buffer);
    buffer[length] = '\0';
    return length;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    if (!IsValidItem(nItem))
        return 0;
    UINT state = m_pModel->RowAt(nItem).state;
    if (selectionModel()->isRowSelected(nItem, QModelIndex()))
        state |= LVIS_SELECTED;
    if (currentIndex().isValid() && currentIndex().row() == nItem)
        state |= LVIS_FOCUSED;
    return state & nMask;
}

// Row -1 sets the state of every row, as the platform's list does.
BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    if (nItem == -1) {
        for (int row = 0; row < GetItemCount(); ++row)
            SetItemState(row, nState, nMask);
        return TRUE;
    }
    if (!IsValidItem(nItem))
        return FALSE;
    const QModelIndex index = m_pModel->index(nItem, 0);
    if ((nMask & LVIS_SELECTED) != 0) {
        const auto command =
            (nState & LVIS_SELECTED) != 0 ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
        selectionModel()->select(index, command | QItemSelectionModel::Rows);
    }
    if ((nMask & LVIS_FOCUSED) != 0) {
        if ((nState & LVIS_FOCUSED) != 0)
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        else if (currentIndex().isValid() && currentIndex().row() == nItem)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    const UINT ownMask = nMask & ~kViewStateBits;
    if (ownMask != 0) {
        UINT& state = m_pModel->RowAt(nItem).state;
        state = (state & ~ownMask) | (nState & ownMask);
        m_pModel->RowChanged(nItem);
    }
    return TRUE;
}

LPARAM CListCtrl::GetItemData(int nItem) const {
    return IsValidItem(nItem) ? m_pModel->RowAt(nItem).data : 0;
}

BOOL CListCtrl::SetItemData(int nItem, LPARAM data) {
    if (!IsValidItem(nItem))
        return FALSE;
    m_pModel->RowAt(nItem).data = data;
    return TRUE;
}

int CListCtrl::GetNextItem(int nItem, UINT nFlags) const {
    if ((nFlags & (LVNI_SELECTED | LVNI_FOCUSED)) == LVNI_SELECTED) {
        // Asking row after row costs the whole selection per row, quadratic for a large
        // selection; the selection's ranges name the next selected row directly.
        const int first = std::max(0, nItem + 1);
        int next = -1;
        for (const QItemSelectionRange& range : selectionModel()->selection()) {
            const int top = std::max(range.top(), first);
            if (top <= range.bottom() && (next == -1 || top < next))
                next = top;
        }
        if (next == -1 || next >= GetItemCount())
            return -1;
        if (selectionModel()->isRowSelected(next, QModelIndex()))
            return next;
        // Only part of that row is selected: the row-by-row walk decides.
    }
    for (int row = std::max(0, nItem + 1); row < GetItemCount(); ++row) {
        const UINT wanted = nFlags & (LVNI_SELECTED | LVNI_FOCUSED);
        const UINT state = GetItemState(row, (nFlags & LVNI_SELECTED ? LVIS_SELECTED : 0) |
                                                 (nFlags & LVNI_FOCUSED ? LVIS_FOCUSED : 0));
        if (wanted == 0 || state == wanted)
            return row;
    }
    return -1;
}

UINT CListCtrl::GetSelectedCount() const {
    return static_cast<UINT>(selectionModel()->selectedRows().size());
}

// ---- geometry

QRect CListCtrl::ItemRowRect(int nItem) const {
    return visualRect(m_pModel->index(nItem, 0));
}

BOOL CListCtrl::GetItemRect(int nItem, CRect* pRect, UINT nCode) const {
    if (pRect == nullptr || !IsValidItem(nItem))
        return FALSE;
    const QRect row = ItemRowRect(nItem);
    if (row.isNull())
        return FALSE;
    const int left = -horizontalScrollBar()->value();
    const CRect bounds(left, row.top(), left + header()->length(), row.top() + row.height());
    const int iconWidth = m_pSmallImages != nullptr ? m_pSmallImages->GetImageSize().cx : 0;
    const CRect icon(left, bounds.top, left + iconWidth, bounds.bottom);
    switch (nCode) {
    case LVIR_BOUNDS:
        *pRect = bounds;
        return TRUE;
    case LVIR_ICON:
        *pRect = icon;
        return TRUE;
    case LVIR_LABEL:
        *pRect = CRect(icon.right, bounds.top, std::max(icon.right, left + GetColumnWidth(0)), bounds.bottom);
        return TRUE;
    default:
        return FALSE;
    }
}

int CListCtrl::HitTest(CPoint point, UINT* pFlags) const {
    const QModelIndex index = indexAt(QPoint(point.x, point.y));
    CRect icon;
    if (!index.isValid() || !GetItemRect(index.row(), &icon, LVIR_ICON)) {
        if (pFlags != nullptr)
            *pFlags = LVHT_NOWHERE;
        return -1;
    }
    if (pFlags != nullptr)
        *pFlags = icon.PtInRect(point) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    return index.row();
}

void CListCtrl::GetClientRect(CRect* pRect) const {
    if (pRect != nullptr)
        pRect->SetRect(0, 0, viewport()->width(), viewport()->height());
}

void CListCtrl::ClientToScreen(CPoint* pPoint) const {
    if (pPoint == nullptr)
        return;
    const QPoint screen = viewport()->mapToGlobal(QPoint(pPoint->x, pPoint->y));
    *pPoint = CPoint(screen.x(), screen.y());
}

BOOL CListCtrl::RedrawItems(int nFirst, int nLast) {
    if (nFirst > nLast || !IsValidItem(nFirst))
        return FALSE;
    nLast = std::min(nLast, GetItemCount() - 1);
    QRect area;
    for (int row = nFirst; row <= nLast; ++row)
        area |= ItemRowRect(row);
    viewport()->update(QRect(0, area.top(), viewport()->width(), area.height()));
    return TRUE;
}

void CListCtrl::Invalidate(BOOL) {
    viewport()->update();
}

void CListCtrl::InvalidateRect(const CRect* pRect, BOOL) {
    if (pRect == nullptr)
        viewport()->update();
    else
        viewport()->update(QRect(pRect->left, pRect->top, pRect->Width(), pRect->Height()));
}

void CListCtrl::SetRedraw(BOOL bRedraw) {
    setUpdatesEnabled(bRedraw != FALSE);
}

void CListCtrl::MoveWindow(const CRect& rect, BOOL bRepaint) {
    setGeometry(rect.left, rect.top, std::max<LONG>(0, rect.Width()), std::max<LONG>(0, rect.Height()));
    if (bRepaint)
        viewport()->update();
}

void CListCtrl::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    CImageList*& slot = nImageListType == LVSIL_SMALL ? m_pSmallImages : m_pNormalImages;
    CImageList* previous = slot;
    slot = pImageList;
    viewport()->update();
    return previous;
}

CImageList* CListCtrl::GetImageList(int nImageListType) const {
    return nImageListType == LVSIL_SMALL ? m_pSmallImages : m_pNormalImages;
}

// ---- painting

void CListCtrl::DrawItem(int, CDC*, const CRect&) {}

void CListCtrl::paintEvent(QPaintEvent* event) {
    CPaintDC::PaintScope scope(viewport(), event->rect());
    CPaintDC dc(viewport());
    OnEraseBkgnd(&dc);
    m_pPaintDC = &dc;
    drawTree(dc.GetPainter(), event->region());
    m_pPaintDC = nullptr;
}

// Qt walks the visible rows; each one is handed to the owner draw with the paint's device context.
void CListCtrl::drawRow(QPainter*, const QStyleOptionViewItem&, const QModelIndex& index) const {
    CRect bounds;
    if (m_pPaintDC == nullptr || !GetItemRect(index.row(), &bounds, LVIR_BOUNDS))
        return;
    // drawRow is const in Qt; the owner draw is an operation of the control like any message.
    const_cast<CListCtrl*>(this)->DrawItem(index.row(), m_pPaintDC, bounds);
}

BOOL CListCtrl::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    const QColor base = palette().color(QPalette::Base);
    pDC->FillSolidRect(client, RGB(base.red(), base.green(), base.blue()));
    return TRUE;
}

// ---- messages

void CListCtrl::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CListCtrl::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CListCtrl::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CListCtrl::OnContextMenu(QWidget*, CPoint) {
    Default();
}
void CListCtrl::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CListCtrl::OnChar(UINT, UINT, UINT) {
    Default();
}
void CListCtrl::OnSetFocus() {
    Default();
}
void CListCtrl::OnKillFocus() {
    Default();
}
void CListCtrl::OnFontChange() {
    Default();
}
void CListCtrl::OnDeleteItem(int, LPARAM) {}

void CListCtrl::Default() {
    QEvent* event = m_pCurrentEvent;
    if (event == nullptr)
        return;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_bPressSwallowed = false;
        QTreeView::mousePressEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonDblClick:
        m_bPressSwallowed = false;
        QTreeView::mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::ContextMenu:
        QTreeView::contextMenuEvent(static_cast<QContextMenuEvent*>(event));
        break;
    case QEvent::KeyPress:
        if (m_keyStage == KeyStage::KeyDown)
            DefaultKeyDown(static_cast<QKeyEvent*>(event));
        else
            QTreeView::keyPressEvent(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusIn:
        QTreeView::focusInEvent(static_cast<QFocusEvent*>(event));
        break;
    case QEvent::FocusOut:
        QTreeView::focusOutEvent(static_cast<QFocusEvent*>(event));
        break;
    default:
        QTreeView::changeEvent(event);
        break;
    }
}

// The list's own key-down handling tells the parent first; keys that make characters are left
// to the character step, so that the type-ahead search sees each of them once.
void CListCtrl::DefaultKeyDown(QKeyEvent* event) {
    NMLVKEYDOWN keyDown;
    keyDown.wVKey = static_cast<WORD>(VirtualKeyFromEvent(*event));
    NotifyParent(keyDown.hdr, LVN_KEYDOWN);
    if (!HasCharacter(*event))
        QTreeView::keyPressEvent(event);
}

LRESULT CListCtrl::NotifyParent(NMHDR& header, int code) {
    header.hwndFrom = this;
    header.idFrom = m_nID;
    header.code = code;
    return m_pNotifyTarget != nullptr ? m_pNotifyTarget->OnListNotify(m_nID, &header) : 0;
}

void CListCtrl::OnHeaderClicked(int nColumn) {
    NMLISTVIEW columnClick;
    columnClick.iItem = -1;
    columnClick.iSubItem = nColumn;
    NotifyParent(columnClick.hdr, LVN_COLUMNCLICK);
}

// ---- Qt's events as the list's messages

namespace {
// Marks the event being handled for Default(), for the length of one handler.
class CurrentEvent {
public:
    CurrentEvent(QEvent*& slot, QEvent* event) : m_slot(slot), m_previous(slot) { slot = event; }
    ~CurrentEvent() { m_slot = m_previous; }
    CurrentEvent(const CurrentEvent&) = delete;
    CurrentEvent& operator=(const CurrentEvent&) = delete;

private:
    QEvent*& m_slot;
    QEvent* m_previous;
};
} // namespace

void CListCtrl::mousePressEvent(QMouseEvent* event) {
    // The tree view hands a double-click on to its press handling; the double-click's own
    // handler has run by then.
    if (event->type() != QEvent::MouseButtonPress) {
        QTreeView::mousePressEvent(event);
        return;
    }
    const CurrentEvent current(m_pCurrentEvent, event);
    const QPoint position = event->position().toPoint();
    const CPoint point(position.x(), position.y());
    // A press the handler keeps from the list also keeps its moves and release from it.
    m_bPressSwallowed = true;
    event->accept();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(MouseFlags(*event), point);
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(MouseFlags(*event), point);
    else
        Default();
}

void CListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_bPressSwallowed && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void CListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_bPressSwallowed) {
        m_bPressSwallowed = false;
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void CListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const CurrentEvent current(m_pCurrentEvent, event);
    const QPoint position = event->position().toPoint();
    m_bPressSwallowed = true;
    event->accept();
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk(MouseFlags(*event), CPoint(position.x(), position.y()));
    else
        Default();
}

void CListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    const CurrentEvent current(m_pCurrentEvent, event);
    event->accept();
    const CPoint point = event->reason() == QContextMenuEvent::Keyboard
                             ? CPoint(-1, -1)
                             : CPoint(event->globalPos().x(), event->globalPos().y());
    OnContextMenu(this, point);
}

void CListCtrl::keyPressEvent(QKeyEvent* event) {
    const CurrentEvent current(m_pCurrentEvent, event);
    const UINT virtualKey = VirtualKeyFromEvent(*event);
    const bool character = HasCharacter(*event);
    const auto repeat = static_cast<UINT>(std::max(1, event->count()));
    event->accept();
    if (virtualKey == 0 && !character) {
        QTreeView::keyPressEvent(event);
        return;
    }
    // The pressed bit mirrors the platform's key-down flags for auto-repeated keys.
    const UINT flags = event->isAutoRepeat() ? 0x4000 : 0;
    if (virtualKey != 0) {
        m_keyStage = KeyStage::KeyDown;
        OnKeyDown(virtualKey, repeat, flags);
    }
    if (character) {
        m_keyStage = KeyStage::Char;
        OnChar(event->text().at(0).unicode(), repeat, flags);
    }
    m_keyStage = KeyStage::None;
}

void CListCtrl::focusInEvent(QFocusEvent* event) {
    const CurrentEvent current(m_pCurrentEvent, event);
    OnSetFocus();
}

void CListCtrl::focusOutEvent(QFocusEvent* event) {
    const CurrentEvent current(m_pCurrentEvent, event);
    OnKillFocus();
}

void CListCtrl::changeEvent(QEvent* event) {
    if (event->type() != QEvent::FontChange) {
        QTreeView::changeEvent(event);
        return;
    }
    const CurrentEvent current(m_pCurrentEvent, event);
    OnFontChange();
}

// The platform's search goes by the rows' first-column texts, whichever cell was clicked last.
void CListCtrl::keyboardSearch(const QString& search) {
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
    QTreeView::keyboardSearch(search);
}
