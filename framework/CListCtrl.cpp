#include "framework/CListCtrl.h"

#include "framework/CDC.h"
#include "framework/TextBytes.h"
#include "framework/WindowDC.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QScrollBar>

namespace {

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
        // The rows are owner-drawn; the text is for the type-ahead search.
        return role == Qt::DisplayRole ? QVariant(TextFromBytes(Text(index.row(), column.subItem)))
                                       : QVariant();
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
    m_nID = nID;
    if (pParentWnd != nullptr)
        setParent(pParentWnd);
    m_pNotifyTarget = dynamic_cast<CListNotifyTarget*>(pParentWnd);
    MoveWindow(rect, FALSE);
    setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

// ---- columns

int CListCtrl::InsertColumn(int nCol, const std::string& heading, int nFormat, int nWidth, int nSubItem) {
    if (nCol < 0)
        return -1;
    nCol = std::min(nCol, GetColumnCount());
    m_pModel->InsertColumn(nCol, {nFormat, heading, nSubItem != -1 ? nSubItem : 0});
    header()->resizeSection(nCol, nWidth != -1 ? std::max(0, nWidth) : 0);
    return nCol;
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
    pColumn->fmt = column.format;
    pColumn->cx = GetColumnWidth(nCol);
    pColumn->text = column.heading;
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

int CListCtrl::InsertItem(int nItem, const std::string& text, LPARAM data) {
    if (nItem < 0)
        return -1;
    const int row = std::min(nItem, GetItemCount());
    m_pModel->InsertRow(row, {{text}, data});
    return row;
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
    return IsValidItem(nItem) ? m_pModel->RowAt(nItem).data : 0;
}

// Only the next selected row is ever asked for. Asking row after row costs the whole selection
// per row, quadratic for a large selection; the selection's ranges name it directly.
int CListCtrl::GetNextItem(int nItem, UINT) const {
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

BOOL CListCtrl::GetItemRect(int nItem, CRect* pRect, UINT nCode) const {
    if (pRect == nullptr || !IsValidItem(nItem) || nCode != LVIR_BOUNDS)
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
    if (m_pPaintDC == nullptr || !GetItemRect(index.row(), &bounds, LVIR_BOUNDS))
        return;
    // drawRow is const in Qt; the owner draw is an operation of the control like any message.
    const_cast<CListCtrl*>(this)->DrawItem(index.row(), m_pPaintDC, bounds);
}

void CListCtrl::OnDeleteItem(int, LPARAM) {}

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

// The platform's search goes by the rows' first-column texts, whichever cell was clicked last.
void CListCtrl::keyboardSearch(const QString& search) {
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
    QTreeView::keyboardSearch(search);
}
