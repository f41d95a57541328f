#pragma once

#include "framework/CCmdTarget.h"

#include <QWidget>

class CDC;
class CDocument;
class CFrameWnd;
class CPrintInfo;
class QScrollBar;

constexpr DWORD WS_VSCROLL = 0x00200000;

struct CREATESTRUCT {
    DWORD style = 0;
};

// A view of the document: a widget that draws through a device context and receives commands.
// The platform's messages arrive as the virtual On... operations below; Default() runs the
// widget's own handling of the message being processed.
class CView : public QWidget, public CCmdTarget {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);
    ~CView() override;

    // Creates the window: PreCreateWindow, then OnCreate. FALSE when OnCreate refused.
    BOOL Create(QWidget* parent, CDocument* pDocument);

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    // Printing, driven by the framework's print job.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    void OnFilePrint();
    void OnFilePrintPreview();

    // Window services
    void GetClientRect(CRect* rect) const;
    // The whole view is painted again, background first.
    void Invalidate();
    void SetRedraw(BOOL bRedraw);
    // The scroll bar a WS_VSCROLL view has beside its client area; the view drives it directly.
    QScrollBar* GetVerticalScrollBar() const { return m_pVertScrollBar; }

    BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    CDocument* m_pDocument = nullptr;

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual int OnCreate() { return 0; }
    virtual void OnSize() {}
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnPaint();
    virtual void OnKeyDown(UINT nChar);
    // point: on the screen; (-1, -1) when the menu was asked for from the keyboard.
    virtual void OnContextMenu(CPoint point);
    // The widget's own handling of the event being processed.
    void Default();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateVerticalScrollBar();
    void LayOutScrollBar();

    QScrollBar* m_pVertScrollBar = nullptr;
    QEvent* m_pCurrentEvent = nullptr;
};
