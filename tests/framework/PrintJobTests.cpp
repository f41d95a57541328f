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

// A view that draws a rectangle and records the printing calls it gets.
class PrintedView : public CView {
public:
    QString directPdf; // direct printing goes to this PDF instead of the default printer
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
        if (ready && pInfo->m_bDirect && !directPdf.isEmpty()) {
            pInfo->m_pPrinter->setOutputFormat(QPrinter::PdfFormat);
            pInfo->m_pPrinter->setOutputFileName(directPdf);
        }
        return ready;
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo*) override {
        Record("begin", pDC);
        deviceSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
        deviceResolution = CSize(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override {
        CView::OnPrepareDC(pDC, pInfo);
        Record("preparedc", pDC);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        pageRect = pInfo->m_rectDraw;
        CView::OnPrint(pDC, pInfo);
    }
    void OnDraw(CDC* pDC) override {
        calls.push_back("draw");
        pDC->Rectangle(50, 50, 500, 400);
    }
    void OnEndPrinting(CDC* pDC, CPrintInfo*) override { Record("end", pDC); }

    using CCmdTarget::OnCommand;

private:
    void Record(const std::string& name, CDC* pDC) {
        allPrinting = allPrinting && pDC->IsPrinting();
        calls.push_back(name);
    }
};

struct PrintJob : ::testing::Test {
    QTemporaryDir folder;
    ScopedPrompter prompter;
    PrintedView view;
    QString pdf = folder.filePath("graph.pdf");
};

// The ways a job starts, what each asks, and whether the page comes out.
enum class Start { ToPdf, DialogAccepted, DialogCancelled, DirectCommand, Preview };
struct StartCase {
    const char* name;
    Start start;
    int dialogs;
    bool prints;
};

class PrintStart : public PrintJob, public ::testing::WithParamInterface<StartCase> {};

TEST_P(PrintStart, RunsTheOnePageJobOnAPrintingContextOrEndsBeforeItBegins) {
    const StartCase& c = GetParam();
    const bool preview = c.start == Start::Preview;
    view.directPdf = pdf;
    prompter.printDialogAnswers = {c.start != Start::DialogCancelled};
    prompter.printOutputPath = pdf;
    if (c.start == Start::ToPdf)
        ASSERT_TRUE(PrintViewToPdf(view, pdf));
    else if (c.start == Start::DirectCommand)
        ASSERT_TRUE(view.OnCmdMsg(ID_FILE_PRINT_DIRECT, nullptr));
    else if (preview)
        view.OnFilePrintPreview();
    else
        view.OnFilePrint();

    EXPECT_EQ(prompter.printDialogs, c.dialogs);
    EXPECT_EQ(prompter.previews, preview ? 1 : 0);
    EXPECT_EQ(view.sawPreview, preview);
    EXPECT_TRUE(prompter.messages.empty());
    if (!c.prints) {
        EXPECT_EQ(view.calls, std::vector<std::string>{"prepare"});
        return;
    }
    EXPECT_EQ(view.calls, (std::vector<std::string>{"prepare", "begin", "preparedc", "draw", "end"}));
    EXPECT_TRUE(view.allPrinting);
    EXPECT_EQ(PdfPageCount(preview ? prompter.lastPreviewPdf : pdf), 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, PrintStart,
                         ::testing::Values(StartCase{"ToPdfAsksNothing", Start::ToPdf, 0, true},
                                           StartCase{"AcceptedDialog", Start::DialogAccepted, 1, true},
                                           StartCase{"CancelledDialog", Start::DialogCancelled, 1, false},
                                           StartCase{"DirectAsksNothing", Start::DirectCommand, 0, true},
                                           StartCase{"PreviewAsksNothing", Start::Preview, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintJob, DeviceCapabilitiesAreThePrintersPageAndResolution) {
    ASSERT_TRUE(PrintViewToPdf(view, pdf));
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kPrintResolution);
    const QRect page = printer.pageLayout().paintRectPixels(kPrintResolution);
    EXPECT_EQ(view.deviceSize, CSize(page.width(), page.height()));
    EXPECT_EQ(view.deviceResolution, CSize(kPrintResolution, kPrintResolution));
    EXPECT_EQ(view.pageRect, CRect(0, 0, page.width(), page.height()));
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
