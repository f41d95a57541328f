// Loads a fuzzed file, then draws every chart kind into an image, into SVG and onto a PDF page,
// and writes the web report into memory: hostile races meet the drawing code, the vector outputs
// and the page writer. A vector picture past a few megabytes is a finding: whatever a race holds,
// only what the page shows may be emitted.
#include "FuzzInput.h"
#include "data/RaceFileLoader.h"
#include "document/CTarmioDoc.h"
#include "framework/PrintJob.h"
#include "graph/ChartKinds.h"
#include "graph/ChartPictures.h"
#include "graph/TarmioView.h"
#include "tools/racefile/MemoryRaceFile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// A small picture keeps each run quick; the layout's arithmetic is the same at any size.
constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr qint64 kLargestVectorPicture = 5 << 20;

void RequireSmall(qint64 size, const char* what) {
    if (size > kLargestVectorPicture) {
        std::fprintf(stderr, "%s of %lld bytes\n", what, static_cast<long long>(size));
        std::abort();
    }
}

// Yes to the different-track question: a second race merges into the first.
class YesPrompt : public IPrompt {
public:
    int MessageBox(const std::string&, unsigned style) override {
        return (style & 0xF) == MB_YESNO ? IDYES : IDOK;
    }
};

QApplication& Application() {
    static int argc = 1;
    static char name[] = "fuzz_draw_race";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QApplication application(argc, argv);
    return application;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Application();
    const Bytes bytes = FuzzInputToFile(data, size);
    CTarmioDoc document;
    document.OnNewDocument();
    YesPrompt prompt;
    MemoryRaceFile file(bytes);
    LoadRaceFile(*document.GetRaceData(), file, prompt);

    CTarmioView view;
    view.Create(nullptr, &document);
    view.resize(kWidth + view.GetVerticalScrollBar()->sizeHint().width(), kHeight);
    view.OnInitialUpdate();
    view.OnUpdate(nullptr, 0);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (const ChartKindInfo* kind : ChartKinds()) {
        view.SetChartKind(kind->kind);
        view.render(&image);
        RequireSmall(DrawChartSvg(view).size(), "an SVG chart");
        static const QString pdf = QDir::temp().filePath(
            QStringLiteral("fuzz-draw-race-%1.pdf").arg(QCoreApplication::applicationPid()));
        if (PrintViewToPdf(view, pdf))
            RequireSmall(QFileInfo(pdf).size(), "a PDF chart");
    }
    std::ostringstream page;
    WriteReportOfDocument(page, document, "");
    return 0;
}
