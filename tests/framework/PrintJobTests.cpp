#include "ScriptedPrompter.h"
#include "framework/CDC.h"
#include "framework/CPrintInfo.h"
#include "framework/CView.h"
#include "framework/PrintJob.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

// Pages of a PDF: page objects, not the page tree.
int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// A view that draws a rectangle and records the printing calls it gets, and on what.
class PrintedView : public CView {
public:
    std::string calls;
    CRect device; // the page and resolution the printing context reported

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
        calls += pInfo->m_bPreview ? "prepare-preview" : "prepare";
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo*) override {
        Record(" begin", pDC);
        device = CRect(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY),
                       pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    }
    void OnPrepareDC(CDC* pDC, CPrintInfo*) override { Record(" preparedc", pDC); }
    void OnDraw(CDC* pDC) override {
        Record(" draw", pDC);
        pDC->FillSolidRect(50, 50, 450, 350, RGB(0, 0, 0));
    }
    void OnEndPrinting(CDC* pDC, CPrintInfo*) override { Record(" end", pDC); }

private:
    void Record(const char* name, CDC* pDC) { calls += pDC->IsPrinting() ? name : " not-printing"; }
};

// A view to print and a prompter answering for the user.
struct Job {
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    PrintedView view;
    QString pdf = folder.filePath("graph.pdf");
};

// The ways a job starts, what each asks, and whether the one page comes out, drawn on a printing
// context that answers with the printer's page and resolution.
TEST(PrintStart, RunsTheOnePageJobOnAPrintingContextOrEndsBeforeItBegins) {
    enum class Start { ToPdf, DialogAccepted, DialogCancelled, Preview };
    constexpr const char* kWholeJob = "prepare begin preparedc draw end";
    const struct {
        Start start;
        int dialogs;
        const char* calls;
    } cases[] = {{Start::ToPdf, 0, kWholeJob},
                 {Start::DialogAccepted, 1, kWholeJob},
                 {Start::DialogCancelled, 1, "prepare"},
                 {Start::Preview, 0, "prepare-preview begin preparedc draw end"}};
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QRect page = printer.pageLayout().paintRectPixels(kPrintResolution);
    for (const auto& c : cases) {
        Job job;
        const bool preview = c.start == Start::Preview;
        job.prompter.printDialogAnswers = {c.start != Start::DialogCancelled};
        job.prompter.printOutputPath = job.pdf;
        if (c.start == Start::ToPdf)
            ASSERT_TRUE(PrintViewToPdf(job.view, job.pdf));
        else if (preview)
            job.view.OnFilePrintPreview();
        else
            job.view.OnFilePrint();
        SCOPED_TRACE(c.calls);
        EXPECT_EQ(job.prompter.printDialogs, c.dialogs);
        EXPECT_EQ(job.prompter.previews, preview ? 1 : 0);
        EXPECT_TRUE(job.prompter.messages.empty());
        EXPECT_EQ(job.view.calls, c.calls);
        if (c.start == Start::DialogCancelled)
            continue;
        EXPECT_EQ(PdfPageCount(preview ? job.prompter.lastPreviewPdf : job.pdf), 1);
        EXPECT_EQ(job.view.device, CRect(kPrintResolution, kPrintResolution, page.width(), page.height()));
    }
}

TEST(PrintJob, PrinterThatCannotStartIsReportedNotPrinted) {
    Job job;
    const QString unwritable = job.folder.filePath("missing-folder/graph.pdf");
    EXPECT_FALSE(PrintViewToPdf(job.view, unwritable));
    EXPECT_EQ(job.view.calls, "prepare");

    job.prompter.printDialogAnswers = {true};
    job.prompter.printOutputPath = unwritable;
    job.view.OnFilePrint();
    ASSERT_EQ(job.prompter.messages.size(), 1u);
    EXPECT_EQ(job.prompter.messages[0].text, kPrintFailedText);
    EXPECT_FALSE(QFile::exists(unwritable));
}

} // namespace
