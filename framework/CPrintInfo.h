#pragma once

#include "framework/Afx.h"

class QPrinter;

// The state of one print job, as the view's printing operations see it. Views print one page.
class CPrintInfo {
public:
    BOOL m_bDirect = FALSE;         // printing without the print dialog
    BOOL m_bPreview = FALSE;        // print preview
    QPrinter* m_pPrinter = nullptr; // the job's printer, set by the print job
};
