#pragma once

#include "framework/Afx.h"

// The state of one print job, as the view's printing operations see it.
class CPrintInfo {
public:
    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    BOOL m_bDirect = FALSE;  // printing without the print dialog
    BOOL m_bPreview = FALSE; // print preview
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    CRect m_rectDraw; // the page's printable area, device units

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
};
