#pragma once

#include "framework/Afx.h"

#include <QSplitter>
#include <vector>

class CView;
class CDocument;

// A static splitter of one row and several columns, each column one view. Columns open at their
// ideal widths (the last one takes the rest); a column dragged narrower than its minimum is hidden.
class CSplitterWnd : public QSplitter {
    Q_OBJECT
public:
    explicit CSplitterWnd(QWidget* parent = nullptr);

    BOOL CreateStatic(QWidget* pParentWnd, int nRows, int nCols);
    // Takes pView over and creates it in its pane, on pDoc. FALSE when it refused.
    BOOL CreateView(int row, int col, CView* pView, CDocument* pDoc);
    void SetColumnInfo(int col, int cxIdeal, int cxMin);

    CView* GetPane(int row, int col) const;

    // Moves the frame's active view to the next (or previous) visible pane.
    BOOL CanActivateNext() const;
    void ActivateNext(BOOL bPrev = FALSE);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct ColumnInfo {
        int cxIdeal = 0;
        int cxMin = 0;
    };
    void ApplyIdealWidths();
    void HideNarrowPanes();
    bool IsPaneShown(const QWidget* pane) const;

    int m_nCols = 0;
    std::vector<ColumnInfo> m_columns;
    bool m_bLaidOut = false;
};
