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

struct PrintJob : ::testing::Test {
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    PrintedView view;
    QString pdf = folder.filePath("graph.pdf");
};

// The ways a job starts, what each asks, and whether the page comes out.
enum class Start { ToPdf, DialogAccepted, DialogCancelled, Preview };
struct StartCase {
    const char* name;
    Start start;
    int dialogs;
    const char* calls;
    friend void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }
};

class PrintStart : public PrintJob, public ::testing::WithParamInterface<StartCase> {};

TEST_P(PrintStart, RunsTheOnePageJobOnAPrintingContextOrEndsBeforeItBegins) {
    const StartCase& c = GetParam();
    const bool preview = c.start == Start::Preview;
    prompter.printDialogAnswers = {c.start != Start::DialogCancelled};
    prompter.printOutputPath = pdf;
    if (c.start == Start::ToPdf)
        ASSERT_TRUE(PrintViewToPdf(view, pdf));
    else if (preview)
        view.OnFilePrintPreview();
    else
        view.OnFilePrint();

    EXPECT_EQ(prompter.printDialogs, c.dialogs);
    EXPECT_EQ(prompter.previews, preview ? 1 : 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(view.calls, c.calls);
    if (c.start == Start::DialogCancelled)
        return;
    EXPECT_EQ(PdfPageCount(preview ? prompter.lastPreviewPdf : pdf), 1);
    // The context answers with the printer's page and resolution.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QRect page = printer.pageLayout().paintRectPixels(kPrintResolution);
    EXPECT_EQ(view.device, CRect(kPrintResolution, kPrintResolution, page.width(), page.height()));
}

constexpr const char* kWholeJob = "prepare begin preparedc draw end";
INSTANTIATE_TEST_SUITE_P(Ways, PrintStart,
                         ::testing::Values(StartCase{"ToPdfAsksNothing", Start::ToPdf, 0, kWholeJob},
                                           StartCase{"AcceptedDialog", Start::DialogAccepted, 1, kWholeJob},
                                           StartCase{"CancelledDialog", Start::DialogCancelled, 1, "prepare"},
                                           StartCase{"PreviewAsksNothing", Start::Preview, 0,
                                                     "prepare-preview begin preparedc draw end"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintJob, PrinterThatCannotStartIsReportedNotPrinted) {
    const QString unwritable = folder.filePath("missing-folder/graph.pdf");
    EXPECT_FALSE(PrintViewToPdf(view, unwritable));
    EXPECT_EQ(view.calls, "prepare");

    prompter.printDialogAnswers = {true};
    prompter.printOutputPath = unwritable;
    view.OnFilePrint();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kPrintFailedText);
    EXPECT_FALSE(QFile::exists(unwritable));
}

} // namespace
