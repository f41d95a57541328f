#include "framework/CListCtrl.h"

#include "framework/CDC.h"
#include "framework/TextBytes.h"
#include "framework/WindowDC.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStandardItemModel>

namespace {
// The roles of the model's items beyond Qt's: a row's item data on its header, a column's format
// on its heading.
constexpr int kItemDataRole = Qt::UserRole;
constexpr int kFormatRole = Qt::UserRole + 1;

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

// Texts are single-byte; Latin-1 gives every byte back as it was.
std::string BytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}
} // namespace

// ---- the list

CListCtrl::CListCtrl(QWidget* parent) : QTreeView(parent), m_pModel(new QStandardItemModel(this)) {
    setModel(m_pModel);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_bEmptying)
            return;
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
    m_nID = nID;
    if (pParentWnd != nullptr)
        setParent(pParentWnd);
    m_pNotifyTarget = dynamic_cast<CListNotifyTarget*>(pParentWnd);
    MoveWindow(rect, FALSE);
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

// ---- columns

// Every column shows the sub-item of its own index.
int CListCtrl::InsertColumn(int nCol, const std::string& heading, int nFormat, int nWidth) {
    if (nCol < 0)
        return -1;
    nCol = std::min(nCol, GetColumnCount());
    auto* headingItem = new QStandardItem(TextFromBytes(heading));
    headingItem->setData(nFormat, kFormatRole);
    headingItem->setData(QVariant::fromValue(AlignmentOf(nFormat)), Qt::TextAlignmentRole);
    m_pModel->insertColumn(nCol);
    m_pModel->setHorizontalHeaderItem(nCol, headingItem);
    header()->resizeSection(nCol, nWidth != -1 ? std::max(0, nWidth) : 0);
    return nCol;
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    return m_pModel->removeColumn(nCol) ? TRUE : FALSE;
}

BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const {
    // Null outside the columns there are.
    const QStandardItem* heading = m_pModel->horizontalHeaderItem(nCol);
    if (pColumn == nullptr || heading == nullptr)
        return FALSE;
    pColumn->fmt = heading->data(kFormatRole).toInt();
    pColumn->cx = GetColumnWidth(nCol);
    pColumn->text = BytesOf(heading->text());
    pColumn->iSubItem = nCol;
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
    return m_pModel->columnCount();
}

// ---- rows

int CListCtrl::InsertItem(int nItem, const std::string& text, LPARAM data) {
    // A row has its cells in the columns there are: without a column it has nowhere to be.
    if (nItem < 0 || GetColumnCount() == 0)
        return -1;
    const int row = std::min(nItem, GetItemCount());
    QList<QStandardItem*> cells;
    for (int column = 0; column < GetColumnCount(); ++column)
        cells.append(new QStandardItem);
    cells[0]->setText(TextFromBytes(text));
    m_pModel->insertRow(row, cells);
    // The item data rides on the row's own header, which no column change takes away.
    auto* rowHeader = new QStandardItem;
    rowHeader->setData(QVariant::fromValue<qlonglong>(data), kItemDataRole);
    m_pModel->setVerticalHeaderItem(row, rowHeader);
    return row;
}

// The row leaves the model before its owner hears of it, so nothing paints a row whose item data
// is already gone.
BOOL CListCtrl::DeleteItem(int nItem) {
    if (!IsValidItem(nItem))
        return FALSE;
    const LPARAM data = GetItemData(nItem);
    m_pModel->removeRow(nItem);
    OnDeleteItem(nItem, data);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    std::vector<LPARAM> rows;
    for (int row = 0; row < GetItemCount(); ++row)
        rows.push_back(GetItemData(row));
    // Emptying the list tells the parent of no selection change: the parent may be on its way out.
    m_bEmptying = true;
    m_pModel->setRowCount(0);
    m_bEmptying = false;
    for (std::size_t row = 0; row < rows.size(); ++row)
        OnDeleteItem(static_cast<int>(row), rows[row]);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    return m_pModel->rowCount();
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const std::string& text) {
    if (!IsValidItem(nItem) || nSubItem < 0 || nSubItem >= GetColumnCount())
        return FALSE;
    // A column added after the row has no cell in it yet.
    if (QStandardItem* cell = m_pModel->item(nItem, nSubItem))
        cell->setText(TextFromBytes(text));
    else
        m_pModel->setItem(nItem, nSubItem, new QStandardItem(TextFromBytes(text)));
    return TRUE;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    const QStandardItem* cell = IsValidItem(nItem) ? m_pModel->item(nItem, nSubItem) : nullptr;
    return cell != nullptr ? BytesOf(cell->text()) : std::string();
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    if (!IsValidItem(nItem))
        return 0;
    UINT state = 0;
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
    return TRUE;
}

LPARAM CListCtrl::GetItemData(int nItem) const {
    const QStandardItem* rowHeader = IsValidItem(nItem) ? m_pModel->verticalHeaderItem(nItem) : nullptr;
    return rowHeader != nullptr ? static_cast<LPARAM>(rowHeader->data(kItemDataRole).toLongLong()) : 0;
}

// Asking row after row costs the whole selection per row, quadratic for a large selection; the
// selection's ranges name the next selected row directly.
int CListCtrl::GetNextSelectedItem(int nItem) const {
    const int first = std::max(0, nItem + 1);
    int next = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const int top = std::max(range.top(), first);
        if (top <= range.bottom() && (next == -1 || top < next))
            next = top;
    }
    // A row only partly selected (a column added since) is not selected: walk on from there.
    for (; next != -1 && next < GetItemCount(); ++next)
        if (selectionModel()->isRowSelected(next, QModelIndex()))
            return next;
    return -1;
}

UINT CListCtrl::GetSelectedCount() const {
    return static_cast<UINT>(selectionModel()->selectedRows().size());
}

// ---- geometry

QRect CListCtrl::ItemRowRect(int nItem) const {
    return visualRect(m_pModel->index(nItem, 0));
}

BOOL CListCtrl::GetItemRect(int nItem, CRect* pRect) const {
    if (pRect == nullptr || !IsValidItem(nItem))
        return FALSE;
    const QRect row = ItemRowRect(nItem);
    if (row.isNull())
        return FALSE;
    const int left = -horizontalScrollBar()->value();
    *pRect = CRect(left, row.top(), left + header()->length(), row.top() + row.height());
    return TRUE;
}

int CListCtrl::HitTest(CPoint point) const {
    const QModelIndex index = indexAt(QPoint(point.x, point.y));
    return index.isValid() ? index.row() : -1;
}

void CListCtrl::GetClientRect(CRect* pRect) const {
    if (pRect != nullptr)
        pRect->SetRect(0, 0, viewport()->width(), viewport()->height());
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

void CListCtrl::MoveWindow(const CRect& rect, BOOL bRepaint) {
    setGeometry(rect.left, rect.top, std::max<LONG>(0, rect.Width()), std::max<LONG>(0, rect.Height()));
    if (bRepaint)
        viewport()->update();
}

void CListCtrl::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

// ---- painting

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
    if (m_pPaintDC == nullptr || !GetItemRect(index.row(), &bounds))
        return;
    // drawRow is const in Qt; the owner draw is an operation of the control like any message.
    const_cast<CListCtrl*>(this)->DrawItem(index.row(), m_pPaintDC, bounds);
}

void CListCtrl::OnDeleteItem(int, LPARAM) {}

LRESULT CListCtrl::NotifyParent(NMHDR& header, int code) {
    header.code = code;
    return m_pNotifyTarget != nullptr ? m_pNotifyTarget->OnListNotify(m_nID, &header) : 0;
}

void CListCtrl::OnHeaderClicked(int nColumn) {
    NMLISTVIEW columnClick;
    columnClick.iSubItem = nColumn;
    NotifyParent(columnClick.hdr, LVN_COLUMNCLICK);
}

// A cell's new text repaints the rows: asking the tree view for the cell's place would lay out
// every row again after each row added.
void CListCtrl::dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&) {
    viewport()->update();
}

// The platform's search goes by the rows' first-column texts, whichever cell was clicked last.
void CListCtrl::keyboardSearch(const QString& search) {
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
    QTreeView::keyboardSearch(search);
}
