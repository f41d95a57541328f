#include "framework/CDocument.h"

#include "framework/CView.h"

#include <algorithm>

CDocument::~CDocument() {
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    if (m_onTitleChanged)
        m_onTitleChanged();
}

void CDocument::AddView(CView* pView) {
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    std::erase(m_views, pView);
    if (pView->m_pDocument == this)
        pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint) {
    // Walk a copy, and skip views that an earlier one removed (or destroyed) on the way.
    const std::vector<CView*> views = m_views;
    for (CView* view : views) {
        if (view != pSender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(pSender, lHint);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    return TRUE;
}
