#include "framework/WindowDC.h"
#include "graph/TarmioView.h"

BOOL CTarmioView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CTarmioView::OnBeginPrinting(CDC* pDC, CPrintInfo*) {
    CreateAxisFont(pDC, TRUE);
}

void CTarmioView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    CView::OnPrepareDC(pDC, pInfo);
    if (pDC->IsPrinting()) {
        // One logical unit becomes one screen pixel of its physical size on paper.
        const CClientDC screen(nullptr);
        const int screenX = screen.GetDeviceCaps(LOGPIXELSX);
        const int screenY = screen.GetDeviceCaps(LOGPIXELSY);
        const int printerX = pDC->GetDeviceCaps(LOGPIXELSX);
        const int printerY = pDC->GetDeviceCaps(LOGPIXELSY);
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetWindowExt(screenX, screenY);
        pDC->SetViewportExt(printerX, printerY);
        m_rcGraph.SetRect(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
        m_rcGraph.InflateRect(-kPrintPageMargin, -kPrintPageMargin);
        m_rcGraph.top += m_nPrintedFrameAbove;
        m_rcGraph.bottom -= m_nPrintedFrameBelow;
    } else {
        GetClientRect(&m_rcGraph);
        pDC->SetMapMode(MM_TEXT);
    }
    pDC->SetViewportOrg(0, 0);
    pDC->SetWindowOrg(0, 0);
}

void CTarmioView::OnEndPrinting(CDC*, CPrintInfo*) {
    CClientDC dc(this);
    CreateAxisFont(&dc, FALSE);
}
