#pragma once

#include "framework/Afx.h"

class QPrinter;

// The maximum page of a job whose length the view has not said.
constexpr UINT kUnknownPageCount = 0xFFFF;

// The state of one print job, as the view's printing operations see it.
class CPrintInfo {
public:
    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    // The pages the user asked for in the print dialog; all pages when no range was chosen.
    UINT GetFromPage() const { return m_nFromPage != 0 ? m_nFromPage : m_nMinPage; }
    UINT GetToPage() const { return m_nToPage != 0 ? m_nToPage : m_nMaxPage; }
    void SetPageRange(UINT nFromPage, UINT nToPage) { m_nFromPage = nFromPage, m_nToPage = nToPage; }

    BOOL m_bDirect = FALSE;  // printing without the print dialog
    BOOL m_bPreview = FALSE; // print preview
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    CRect m_rectDraw;               // the page's printable area, device units
    QPrinter* m_pPrinter = nullptr; // the job's printer, set by the print job

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = kUnknownPageCount;
    UINT m_nFromPage = 0;
    UINT m_nToPage = 0;
};
