#include "framework/CSplitterWnd.h"

#include "framework/CFrameWnd.h"
#include "framework/CView.h"

#include <QResizeEvent>

CSplitterWnd::CSplitterWnd(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setChildrenCollapsible(true);
    connect(this, &QSplitter::splitterMoved, this, [this] { HideNarrowPanes(); });
}

BOOL CSplitterWnd::CreateStatic(QWidget* pParentWnd, int nRows, int nCols) {
    // Only the one-row layout is built; nothing in the program splits the other way.
    if (nRows != 1 || nCols < 1 || m_nCols != 0)
        return FALSE;
    m_nCols = nCols;
    m_columns.assign(static_cast<size_t>(nCols), ColumnInfo{});
    if (pParentWnd != nullptr) {
        if (auto* frame = qobject_cast<QMainWindow*>(pParentWnd))
            frame->setCentralWidget(this);
        else
            setParent(pParentWnd);
    }
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CView* pView, CDocument* pDoc) {
    if (pView == nullptr)
        return FALSE;
    // Panes are made left to right, each in the next column.
    if (row != 0 || col != count() || col >= m_nCols || !pView->Create(this, pDoc)) {
        delete pView;
        return FALSE;
    }
    addWidget(pView);
    // The splitter's own minimum would stop the drag short of hiding the pane; ours decides.
    pView->setMinimumWidth(0);
    // The last column takes what the frame gains; the others keep their widths.
    setStretchFactor(col, col == m_nCols - 1 ? 1 : 0);
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
    return row == 0 ? qobject_cast<CView*>(widget(col)) : nullptr;
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

bool CSplitterWnd::IsPaneShown(const QWidget* pane) const {
    // Before the splitter is laid out every pane counts; afterwards a collapsed one does not.
    return pane != nullptr && (!isVisible() || pane->width() > 0);
}

BOOL CSplitterWnd::CanActivateNext() const {
    int shown = 0;
    for (int c = 0; c < count(); ++c)
        shown += IsPaneShown(widget(c)) ? 1 : 0;
    return shown > 1;
}

void CSplitterWnd::ActivateNext(BOOL bPrev) {
    auto* frame = qobject_cast<CFrameWnd*>(window());
    if (frame == nullptr || count() == 0)
        return;
    const int current = std::max(0, indexOf(frame->GetActiveView()));
    const int step = bPrev ? count() - 1 : 1;
    // Hidden (collapsed) panes are stepped over, as there is nothing there to type into.
    for (int tries = 1; tries <= count(); ++tries) {
        auto* candidate = qobject_cast<CView*>(widget((current + step * tries) % count()));
        if (IsPaneShown(candidate)) {
            frame->SetActiveView(candidate);
            return;
        }
    }
}
