#include "framework/CView.h"

#include "framework/CDC.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/WindowDC.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QScrollBar>

CView::CView(QWidget* parent) : QWidget(parent) {
    // The view paints every pixel itself (or erases first); Qt must not clear it behind us.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CView::~CView() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

BOOL CView::Create(QWidget* parent, CDocument* pDocument) {
    CREATESTRUCT cs;
    if (!PreCreateWindow(cs))
        return FALSE;
    if (parent != nullptr)
        setParent(parent);
    if ((cs.style & WS_VSCROLL) != 0)
        CreateVerticalScrollBar();
    if (pDocument != nullptr)
        pDocument->AddView(this);
    if (OnCreate() == -1) {
        if (pDocument != nullptr)
            pDocument->RemoveView(this);
        return FALSE;
    }
    return TRUE;
}

CFrameWnd* CView::GetParentFrame() const {
    return qobject_cast<CFrameWnd*>(window());
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0);
}

void CView::OnUpdate(CView*, LPARAM) {
    Invalidate();
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    // A view whose child (a list filling it, say) holds the focus is focused already.
    QWidget* focus = QApplication::focusWidget();
    if (bActivate && pActivateView == this && focus != this && !isAncestorOf(focus))
        setFocus(Qt::OtherFocusReason);
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

BOOL CView::OnPreparePrinting(CPrintInfo*) {
    return TRUE;
}
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::GetClientRect(CRect* rect) const {
    const int scrollBarWidth = m_pVertScrollBar != nullptr ? m_pVertScrollBar->width() : 0;
    rect->SetRect(0, 0, std::max(0, width() - scrollBarWidth), height());
}

void CView::Invalidate() {
    update();
}

void CView::SetRedraw(BOOL bRedraw) {
    setUpdatesEnabled(bRedraw != FALSE);
}

BOOL CView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    if (HandleOwnCommand(nID, pCmdUI))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, pCmdUI);
}

BOOL CView::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

BOOL CView::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    const QColor base = palette().color(QPalette::Base);
    pDC->FillSolidRect(client, RGB(base.red(), base.green(), base.blue()));
    return TRUE;
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc, nullptr);
    OnDraw(&dc);
}

void CView::OnKeyDown(UINT) {
    Default();
}

void CView::OnContextMenu(CPoint) {
    Default();
}

// QWidget's own handling of these events only ignores them (the view is never a popup), so the
// event goes on to the parent.
void CView::Default() {
    if (m_pCurrentEvent != nullptr)
        m_pCurrentEvent->ignore();
}

void CView::paintEvent(QPaintEvent* event) {
    CPaintDC::PaintScope scope(this, event->rect());
    {
        // Every repaint erases first, the system's own (exposure, resizing) too.
        CPaintDC eraseDC(this);
        OnEraseBkgnd(&eraseDC);
    }
    OnPaint();
}

void CView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutScrollBar();
    OnSize();
}

void CView::keyPressEvent(QKeyEvent* event) {
    QEvent* previous = m_pCurrentEvent;
    m_pCurrentEvent = event;
    event->accept();
    OnKeyDown(static_cast<UINT>(event->key()));
    m_pCurrentEvent = previous;
}

void CView::contextMenuEvent(QContextMenuEvent* event) {
    QEvent* previous = m_pCurrentEvent;
    m_pCurrentEvent = event;
    event->accept();
    const CPoint point = event->reason() == QContextMenuEvent::Keyboard
                             ? CPoint(-1, -1)
                             : CPoint(event->globalPos().x(), event->globalPos().y());
    OnContextMenu(point);
    m_pCurrentEvent = previous;
}

void CView::CreateVerticalScrollBar() {
    m_pVertScrollBar = new QScrollBar(Qt::Vertical, this);
    m_pVertScrollBar->setFocusPolicy(Qt::NoFocus);
    LayOutScrollBar();
}

void CView::LayOutScrollBar() {
    if (m_pVertScrollBar == nullptr)
        return;
    const int barWidth = m_pVertScrollBar->sizeHint().width();
    m_pVertScrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
}
