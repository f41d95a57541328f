#include "framework/PrintJob.h"

#include "common/CommandIds.h"
#include "framework/CDC.h"
#include "framework/CPrintInfo.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/Prompter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPdfWriter>
#include <QPrinter>
#include <memory>

namespace {
// The print dialog offers pages up to this one, as it always has.
constexpr int kDialogLastPage = 0xFFFF;

// The one page of a view, on a printing context.
void PrintPage(CView& view, CDC& dc, CPrintInfo& info) {
    view.OnBeginPrinting(&dc, &info);
    view.OnPrepareDC(&dc, &info);
    view.OnDraw(&dc);
    view.OnEndPrinting(&dc, &info);
}
} // namespace

BOOL RunPrintJob(CView& view, QPrinter& printer, CPrintInfo& info) {
    info.m_pPrinter = &printer;
    {
        CDC dc(&printer, true);
        const QPainter* painter = dc.GetPainter();
        if (painter == nullptr || !painter->isActive())
            return FALSE;
        PrintPage(view, dc, info);
    }
    return printer.printerState() != QPrinter::Error ? TRUE : FALSE;
}

std::unique_ptr<QPrinter> NewJobPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    printer->setResolution(kPrintResolution);
    return printer;
}

namespace {
void SetUpPdfPage(QPdfWriter& pdf) {
    pdf.setResolution(kPrintResolution);
}
} // namespace

QSize PdfPrintableSize() {
    QBuffer nowhere;
    QPdfWriter pdf(&nowhere);
    SetUpPdfPage(pdf);
    return {pdf.width(), pdf.height()};
}

BOOL PrintViewToPdf(CView& view, const QString& path, const PageEpilogue& epilogue) {
    // The page a fresh PDF job prints on (A4, 10-point margins, kPrintResolution), written
    // straight to the file: the printer machinery and its plug-ins add nothing to a file.
    QPdfWriter pdf(path);
    SetUpPdfPage(pdf);
    CPrintInfo info;
    info.m_bDirect = TRUE;
    if (!view.OnPreparePrinting(&info))
        return FALSE;
    CDC dc(&pdf, true);
    QPainter* painter = dc.GetPainter();
    if (painter == nullptr || !painter->isActive())
        return FALSE;
    PrintPage(view, dc, info);
    if (epilogue) {
        painter = dc.GetPainter();
        painter->save();
        painter->resetTransform();
        painter->setClipping(false);
        epilogue(*painter);
        painter->restore();
    }
    dc.EndPainting();
    // The writer has no error state of its own; an empty file is a failed one.
    return QFileInfo(path).size() > 0 ? TRUE : FALSE;
}

void PrintViewToImage(CView& view, QImage& page) {
    CDC dc(&page, true);
    CPrintInfo info;
    info.m_bDirect = TRUE;
    PrintPage(view, dc, info);
    dc.EndPainting();
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    if (pInfo == nullptr)
        return FALSE;
    // Direct printing and the preview use the printer as it is, without asking.
    if (pInfo->m_bDirect || pInfo->m_bPreview)
        return TRUE;
    if (pInfo->m_pPrinter == nullptr)
        return FALSE;
    // Whatever range is chosen, the one page prints.
    return AfxGetPrompter().PrintDialog(*pInfo->m_pPrinter, 1, kDialogLastPage) ? TRUE : FALSE;
}

namespace {
// Jobs print on the application's printer, so Print Setup and the last print dialog's choices
// carry over to the next job; without an application object, on a fresh one.
QPrinter& JobPrinter(std::unique_ptr<QPrinter>& fallback) {
    if (CWinApp* app = AfxGetApp())
        return app->GetPrinter();
    fallback = NewJobPrinter();
    return *fallback;
}
} // namespace

void CView::OnFilePrint() {
    std::unique_ptr<QPrinter> ownPrinter;
    QPrinter& printer = JobPrinter(ownPrinter);
    CPrintInfo info;
    info.m_bDirect = AfxGetCurrentCommand() == ID_FILE_PRINT_DIRECT ? TRUE : FALSE;
    info.m_pPrinter = &printer;
    // A cancelled print dialog ends the job quietly.
    if (!OnPreparePrinting(&info))
        return;
    if (!RunPrintJob(*this, printer, info))
        AfxMessageBox(QString::fromLatin1(kPrintFailedText));
}

void CView::OnFilePrintPreview() {
    std::unique_ptr<QPrinter> ownPrinter;
    QPrinter& printer = JobPrinter(ownPrinter);
    CPrintInfo info;
    info.m_bPreview = TRUE;
    info.m_pPrinter = &printer;
    if (!OnPreparePrinting(&info))
        return;
    bool failed = false;
    // The preview may render its pages more than once (zooming, page set-up); each rendering is
    // a whole job.
    AfxGetPrompter().PrintPreview(printer, [this, &info, &failed](QPrinter* pagePrinter) {
        if (!RunPrintJob(*this, *pagePrinter, info))
            failed = true;
    });
    if (failed)
        AfxMessageBox(QString::fromLatin1(kPrintFailedText));
}
