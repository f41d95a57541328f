#include "ScopedPrompter.h"
#include "framework/CDC.h"
#include "framework/CPrintInfo.h"
#include "framework/CView.h"
#include "framework/CommandIds.h"
#include "framework/PrintJob.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

// Pages of a PDF: page objects, not the page tree.
int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// A view that draws a rectangle and records the printing calls it gets, as "name:page".
class PrintedView : public CView {
public:
    std::optional<UINT> maxPage; // what OnBeginPrinting sets; none leaves the page count open
    QString sendDirectJobsTo;    // direct printing goes to this PDF instead of the default printer
    std::vector<std::string> calls;
    bool allPrinting = true;
    bool sawPreview = false;
    CSize deviceSize;
    CSize deviceResolution;
    CRect pageRect;

    PrintedView() {
        OnCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(); });
    }

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
        calls.push_back("prepare");
        sawPreview = pInfo->m_bPreview != FALSE;
        const BOOL ready = DoPreparePrinting(pInfo);
        if (ready && pInfo->m_bDirect && !sendDirectJobsTo.isEmpty()) {
            pInfo->m_pPrinter->setOutputFormat(QPrinter::PdfFormat);
            pInfo->m_pPrinter->setOutputFileName(sendDirectJobsTo);
        }
        return ready;
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override {
        Record("begin", pDC, pInfo);
        deviceSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
        deviceResolution = CSize(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
        if (maxPage)
            pInfo->SetMaxPage(*maxPage);
    }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override {
        CView::OnPrepareDC(pDC, pInfo);
        Record("preparedc", pDC, pInfo);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        pageRect = pInfo->m_rectDraw;
        CView::OnPrint(pDC, pInfo);
    }
    void OnDraw(CDC* pDC) override {
        calls.push_back("draw");
        pDC->Rectangle(50, 50, 500, 400);
    }
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override { Record("end", pDC, pInfo); }

    using CCmdTarget::OnCommand;

private:
    void Record(const char* name, CDC* pDC, CPrintInfo* pInfo) {
        allPrinting = allPrinting && pDC->IsPrinting();
        calls.push_back(std::string(name) +
                        (std::string(name) == "preparedc" ? ":" + std::to_string(pInfo->m_nCurPage) : ""));
    }
};

const std::vector<std::string> kOnePageJob = {"prepare", "begin", "preparedc:1", "draw", "end"};

struct PrintJob : ::testing::Test {
    QTemporaryDir folder;
    ScopedPrompter prompter;
    PrintedView view;
    QString pdf = folder.filePath("graph.pdf");
};

TEST_F(PrintJob, PdfOfAOnePageViewHasOnePageDrawnOnAPrintingContext) {
    view.maxPage = 1;
    ASSERT_TRUE(PrintViewToPdf(view, pdf));
    EXPECT_EQ(view.calls, kOnePageJob);
    EXPECT_TRUE(view.allPrinting);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(prompter.printDialogs, 0) << "printing to a file asks nothing";
}

TEST_F(PrintJob, DeviceCapabilitiesAreThePrintersPageAndResolution) {
    view.maxPage = 1;
    ASSERT_TRUE(PrintViewToPdf(view, pdf));
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kPrintResolution);
    const QRect page = printer.pageLayout().paintRectPixels(kPrintResolution);
    EXPECT_EQ(view.deviceSize, CSize(page.width(), page.height()));
    EXPECT_EQ(view.deviceResolution, CSize(kPrintResolution, kPrintResolution));
    EXPECT_EQ(view.pageRect, CRect(0, 0, page.width(), page.height()));
}

// The page count a view declares and what comes out.
struct PageCase {
    std::optional<UINT> maxPage;
    int pages;
};

class PrintedPages : public PrintJob, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PrintedPages, JobPrintsTheDeclaredPagesOrOneWhenUnknown) {
    view.maxPage = GetParam().maxPage;
    ASSERT_TRUE(PrintViewToPdf(view, pdf));
    EXPECT_EQ(PdfPageCount(pdf), GetParam().pages);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "draw"), GetParam().pages);
    EXPECT_EQ(view.calls.back(), "end");
}

INSTANTIATE_TEST_SUITE_P(Counts, PrintedPages,
                         ::testing::Values(PageCase{1u, 1}, PageCase{3u, 3}, PageCase{std::nullopt, 1}));

TEST_F(PrintJob, CancelledPrintDialogEndsTheJobBeforeItBegins) {
    prompter.printDialogAnswers = {false};
    view.OnFilePrint();
    EXPECT_EQ(prompter.printDialogs, 1);
    EXPECT_EQ(view.calls, std::vector<std::string>{"prepare"});
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PrintJob, AcceptedPrintDialogPrintsThePage) {
    view.maxPage = 1;
    prompter.printDialogAnswers = {true};
    prompter.printOutputPath = pdf;
    view.OnFilePrint();
    EXPECT_EQ(view.calls, kOnePageJob);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(PrintJob, DirectPrintCommandAsksNothing) {
    view.maxPage = 1;
    view.sendDirectJobsTo = pdf;
    ASSERT_TRUE(view.OnCmdMsg(ID_FILE_PRINT_DIRECT, nullptr));
    EXPECT_EQ(prompter.printDialogs, 0);
    EXPECT_EQ(view.calls, kOnePageJob);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(PrintJob, PreviewRunsTheSameJobOnAPrintingContext) {
    view.maxPage = 1;
    view.OnFilePrintPreview();
    EXPECT_EQ(prompter.previews, 1);
    EXPECT_EQ(prompter.printDialogs, 0);
    EXPECT_TRUE(view.sawPreview);
    EXPECT_TRUE(view.allPrinting);
    EXPECT_EQ(view.calls, kOnePageJob);
    EXPECT_EQ(PdfPageCount(prompter.lastPreviewPdf), 1);
}

TEST_F(PrintJob, PrinterThatCannotStartIsReportedNotPrinted) {
    const QString unwritable = folder.filePath("missing-folder/graph.pdf");
    EXPECT_FALSE(PrintViewToPdf(view, unwritable));
    EXPECT_EQ(view.calls, std::vector<std::string>{"prepare"});

    view.calls.clear();
    prompter.printDialogAnswers = {true};
    prompter.printOutputPath = unwritable;
    view.OnFilePrint();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kPrintFailedText);
    EXPECT_FALSE(QFile::exists(unwritable));
}

} // namespace
