#include "framework/CSplitterWnd.h"

#include "framework/CFrameWnd.h"
#include "framework/CView.h"

#include <QResizeEvent>

CSplitterWnd::CSplitterWnd(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setChildrenCollapsible(true);
    connect(this, &QSplitter::splitterMoved, this, [this] { HideNarrowPanes(); });
}

BOOL CSplitterWnd::CreateStatic(QWidget* pParentWnd, int nRows, int nCols, DWORD, UINT) {
    // Only the one-row layout is built; nothing in the program splits the other way.
    if (nRows != 1 || nCols < 1 || !m_panes.empty())
        return FALSE;
    m_nCols = nCols;
    m_panes.assign(static_cast<size_t>(nCols), nullptr);
    m_columns.assign(static_cast<size_t>(nCols), ColumnInfo{});
    if (pParentWnd != nullptr) {
        if (auto* frame = qobject_cast<QMainWindow*>(pParentWnd))
            frame->setCentralWidget(this);
        else
            setParent(pParentWnd);
    }
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CView* pView, CSize, CDocument* pDoc) {
    if (pView == nullptr)
        return FALSE;
    if (row != 0 || col < 0 || col >= m_nCols || m_panes[static_cast<size_t>(col)] != nullptr) {
        delete pView;
        return FALSE;
    }
    if (!pView->Create(this, pDoc)) {
        delete pView;
        return FALSE;
    }
    // Qt keeps widgets in insertion order; a pane created out of order goes to its own column.
    int index = 0;
    for (int before = 0; before < col; ++before)
        index += m_panes[static_cast<size_t>(before)] != nullptr ? 1 : 0;
    insertWidget(index, pView);
    // The splitter's own minimum would stop the drag short of hiding the pane; ours decides.
    pView->setMinimumWidth(0);
    m_panes[static_cast<size_t>(col)] = pView;
    // The last column takes what the frame gains; the others keep their widths.
    for (int c = 0; c < m_nCols; ++c) {
        if (CView* pane = m_panes[static_cast<size_t>(c)])
            setStretchFactor(indexOf(pane), c == m_nCols - 1 ? 1 : 0);
    }
    return TRUE;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    if (col < 0 || col >= m_nCols)
        return;
    m_columns[static_cast<size_t>(col)] = ColumnInfo{cxIdeal, cxMin};
    m_bLaidOut = false;
    if (width() > 0 && isVisible())
        ApplyIdealWidths();
}

CView* CSplitterWnd::GetPane(int row, int col) const {
    if (row != 0 || col < 0 || col >= m_nCols)
        return nullptr;
    return m_panes[static_cast<size_t>(col)];
}

void CSplitterWnd::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    if (!m_bLaidOut && event->size().width() > 0)
        ApplyIdealWidths();
}

void CSplitterWnd::ApplyIdealWidths() {
    QList<int> widths;
    int used = 0;
    for (int c = 0; c + 1 < m_nCols; ++c) {
        const int ideal = m_columns[static_cast<size_t>(c)].cxIdeal;
        widths.append(ideal);
        used += ideal + handleWidth();
    }
    widths.append(std::max(0, width() - used));
    setSizes(widths);
    m_bLaidOut = true;
}

void CSplitterWnd::HideNarrowPanes() {
    QList<int> widths = sizes();
    bool changed = false;
    for (int c = 0; c < m_nCols && c < widths.size(); ++c) {
        const int minimum = m_columns[static_cast<size_t>(c)].cxMin;
        if (widths[c] > 0 && widths[c] < minimum) {
            // The neighbour takes the hidden pane's width.
            const int neighbour = c + 1 < widths.size() ? c + 1 : c - 1;
            if (neighbour >= 0)
                widths[neighbour] += widths[c];
            widths[c] = 0;
            changed = true;
        }
    }
    if (changed)
        setSizes(widths);
}

int CSplitterWnd::PaneIndexOf(const CView* pView) const {
    for (int c = 0; c < m_nCols; ++c) {
        if (m_panes[static_cast<size_t>(c)] == pView)
            return c;
    }
    return -1;
}

bool CSplitterWnd::IsPaneShown(const CView* pane) const {
    // Before the splitter is laid out every pane counts; afterwards a collapsed one does not.
    return pane != nullptr && (!isVisible() || pane->width() > 0);
}

BOOL CSplitterWnd::CanActivateNext() const {
    return std::count_if(m_panes.begin(), m_panes.end(),
                         [this](const CView* pane) { return IsPaneShown(pane); }) > 1;
}

void CSplitterWnd::ActivateNext(BOOL bPrev) {
    auto* frame = qobject_cast<CFrameWnd*>(window());
    if (frame == nullptr || m_nCols == 0)
        return;
    int current = PaneIndexOf(frame->GetActiveView());
    if (current < 0)
        current = 0;
    const int step = bPrev ? m_nCols - 1 : 1;
    // Hidden (collapsed) panes are stepped over, as there is nothing there to type into.
    for (int tries = 1; tries <= m_nCols; ++tries) {
        CView* candidate = m_panes[static_cast<size_t>((current + step * tries) % m_nCols)];
        if (IsPaneShown(candidate)) {
            frame->SetActiveView(candidate);
            return;
        }
    }
}
