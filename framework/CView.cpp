#include "framework/CView.h"

#include "framework/CDC.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/VirtualKeys.h"
#include "framework/WindowDC.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
constexpr int kWheelLinesPerNotch = 3;
constexpr int kWheelDeltaPerNotch = 120;
} // namespace

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
    for (QWidget* widget = parentWidget(); widget != nullptr; widget = widget->parentWidget()) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(widget))
            return frame;
    }
    return nullptr;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, void*) {
    Invalidate(TRUE);
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
void CView::OnPrint(CDC* pDC, CPrintInfo*) {
    OnDraw(pDC);
}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::GetClientRect(CRect* rect) const {
    const int scrollBarWidth = m_pVertScrollBar != nullptr ? m_pVertScrollBar->width() : 0;
    rect->SetRect(0, 0, std::max(0, width() - scrollBarWidth), height());
}

void CView::Invalidate(BOOL bErase) {
    InvalidateRect(nullptr, bErase);
}

void CView::InvalidateRect(const CRect* rect, BOOL bErase) {
    if (bErase)
        m_bEraseRequested = true;
    if (rect == nullptr)
        update();
    else
        update(QRect(rect->left, rect->top, rect->Width(), rect->Height()));
}

void CView::SetRedraw(BOOL bRedraw) {
    setUpdatesEnabled(bRedraw != FALSE);
}

BOOL CView::SetScrollInfo(int nBar, const SCROLLINFO* info, BOOL) {
    if (nBar != SB_VERT || m_pVertScrollBar == nullptr || info == nullptr)
        return FALSE;
    m_bSettingScrollInfo = true;
    QScrollBar* bar = m_pVertScrollBar;
    const int page = static_cast<int>(info->nPage);
    if ((info->fMask & SIF_RANGE) != 0 || (info->fMask & SIF_PAGE) != 0) {
        // The platform's range includes the page; the highest thumb position is max - page + 1.
        const int maxPos = std::max(info->nMin, info->nMax - std::max(page, 1) + 1);
        bar->setRange(info->nMin, maxPos);
        bar->setPageStep(std::max(page, 1));
        const bool canScroll = page <= info->nMax - info->nMin;
        if ((info->fMask & SIF_DISABLENOSCROLL) != 0)
            bar->setEnabled(canScroll);
    }
    if ((info->fMask & SIF_POS) != 0) {
        bar->setValue(info->nPos);
        // Inside a scroll-bar action this overrides the step Qt is about to apply.
        bar->setSliderPosition(info->nPos);
    }
    m_bSettingScrollInfo = false;
    return TRUE;
}

BOOL CView::GetScrollInfo(int nBar, SCROLLINFO* info) const {
    if (nBar != SB_VERT || m_pVertScrollBar == nullptr || info == nullptr)
        return FALSE;
    info->nMin = m_pVertScrollBar->minimum();
    info->nPage = static_cast<UINT>(m_pVertScrollBar->pageStep());
    info->nMax = m_pVertScrollBar->maximum() + m_pVertScrollBar->pageStep() - 1;
    info->nPos = m_pVertScrollBar->value();
    info->nTrackPos = m_pVertScrollBar->sliderPosition();
    return TRUE;
}

BOOL CView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI) {
    if (HandleOwnCommand(nID, pCmdUI))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, pCmdUI);
}

BOOL CView::HasCommandHandler(UINT nID) const {
    return HasOwnCommandHandler(nID) || (m_pDocument != nullptr && m_pDocument->HasCommandHandler(nID));
}

BOOL CView::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

void CView::OnSize(UINT, int, int) {}

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

void CView::OnKeyDown(UINT, UINT, UINT) {
    Default();
}

void CView::OnContextMenu(QWidget*, CPoint) {
    Default();
}

void CView::OnVScroll(UINT, int, QScrollBar*) {}

void CView::Default() {
    if (m_pCurrentEvent == nullptr)
        return;
    switch (m_pCurrentEvent->type()) {
    case QEvent::KeyPress:
        QWidget::keyPressEvent(static_cast<QKeyEvent*>(m_pCurrentEvent));
        break;
    case QEvent::ContextMenu:
        QWidget::contextMenuEvent(static_cast<QContextMenuEvent*>(m_pCurrentEvent));
        break;
    case QEvent::Wheel:
        QWidget::wheelEvent(static_cast<QWheelEvent*>(m_pCurrentEvent));
        break;
    default:
        m_pCurrentEvent->ignore();
        break;
    }
}

void CView::paintEvent(QPaintEvent* event) {
    CPaintDC::PaintScope scope(this, event->rect());
    if (m_bEraseRequested) {
        CPaintDC eraseDC(this);
        OnEraseBkgnd(&eraseDC);
    }
    m_bEraseRequested = true; // the system's own repaints (exposure, resizing) erase too
    OnPaint();
}

void CView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutScrollBar();
    CRect client;
    GetClientRect(&client);
    OnSize(0, client.Width(), client.Height());
}

void CView::keyPressEvent(QKeyEvent* event) {
    QEvent* previous = m_pCurrentEvent;
    m_pCurrentEvent = event;
    event->accept();
    OnKeyDown(VirtualKeyFromEvent(*event), static_cast<UINT>(std::max(1, event->count())), 0);
    m_pCurrentEvent = previous;
}

void CView::contextMenuEvent(QContextMenuEvent* event) {
    QEvent* previous = m_pCurrentEvent;
    m_pCurrentEvent = event;
    event->accept();
    // A menu asked for from the keyboard comes with the point (-1, -1).
    const CPoint point = event->reason() == QContextMenuEvent::Keyboard
                             ? CPoint(-1, -1)
                             : CPoint(event->globalPos().x(), event->globalPos().y());
    OnContextMenu(this, point);
    m_pCurrentEvent = previous;
}

void CView::wheelEvent(QWheelEvent* event) {
    if (m_pVertScrollBar == nullptr || !m_pVertScrollBar->isEnabled()) {
        QWidget::wheelEvent(event);
        return;
    }
    // Touchpads and fine wheels send parts of a notch; they add up until a whole one is reached,
    // and the rest waits for the next event.
    m_nWheelDelta += event->angleDelta().y();
    const int notches = m_nWheelDelta / kWheelDeltaPerNotch;
    m_nWheelDelta -= notches * kWheelDeltaPerNotch;
    const UINT code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < std::abs(notches) * kWheelLinesPerNotch; ++i)
        OnVScroll(code, 0, nullptr);
    event->accept();
}

void CView::OnMouseMove(UINT, CPoint) {
    Default();
}

void CView::OnMouseLeave() {}

void CView::EnableMouseTracking() {
    setMouseTracking(true);
}

void CView::mouseMoveEvent(QMouseEvent* event) {
    QEvent* previous = m_pCurrentEvent;
    m_pCurrentEvent = event;
    OnMouseMove(0, CPoint(event->position().toPoint().x(), event->position().toPoint().y()));
    m_pCurrentEvent = previous;
}

void CView::leaveEvent(QEvent* event) {
    OnMouseLeave();
    QWidget::leaveEvent(event);
}

void CView::CreateVerticalScrollBar() {
    m_pVertScrollBar = new QScrollBar(Qt::Vertical, this);
    m_pVertScrollBar->setFocusPolicy(Qt::NoFocus);
    connect(m_pVertScrollBar, &QAbstractSlider::actionTriggered, this, &CView::OnScrollBarAction);
    connect(m_pVertScrollBar, &QAbstractSlider::sliderReleased, this, [this] {
        OnVScroll(SB_THUMBPOSITION, m_pVertScrollBar->sliderPosition(), nullptr);
        OnVScroll(SB_ENDSCROLL, 0, nullptr);
    });
    LayOutScrollBar();
}

void CView::LayOutScrollBar() {
    if (m_pVertScrollBar == nullptr)
        return;
    const int barWidth = m_pVertScrollBar->sizeHint().width();
    m_pVertScrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
}

void CView::OnScrollBarAction(int action) {
    if (m_bSettingScrollInfo)
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        OnVScroll(SB_LINEUP, 0, nullptr);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnVScroll(SB_LINEDOWN, 0, nullptr);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnVScroll(SB_PAGEUP, 0, nullptr);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnVScroll(SB_PAGEDOWN, 0, nullptr);
        break;
    case QAbstractSlider::SliderToMinimum:
        OnVScroll(SB_TOP, 0, nullptr);
        break;
    case QAbstractSlider::SliderToMaximum:
        OnVScroll(SB_BOTTOM, 0, nullptr);
        break;
    case QAbstractSlider::SliderMove:
        OnVScroll(SB_THUMBTRACK, m_pVertScrollBar->sliderPosition(), nullptr);
        break;
    default:
        break;
    }
}
