// File, Export: the laps as CSV, or the chart as it shows now as a PNG picture or a PDF page,
// never over one of the race's input files.
#include "app/MainFrame.h"
#include "data/RaceExport.h"
#include "document/CTarmioDoc.h"
#include "framework/PrintJob.h"
#include "framework/Prompter.h"
#include "graph/TarmioView.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <sstream>

namespace {

constexpr const char* kExportFilter =
    "CSV Files (*.csv)|*.csv|PNG Pictures (*.png)|*.png|PDF Documents (*.pdf)|*.pdf||";
enum ExportFormat { kCsv = 1, kPng = 2, kPdf = 3 };
constexpr const char* kInputFileText =
    "This file is one of the race's input files and will not be overwritten.";
constexpr const char* kWriteFailedText = "The file could not be written.";

// The extension decides; without a known one, the filter entry the user left selected does.
int FormatOf(const QString& path, int filterIndex) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("csv"))
        return kCsv;
    if (suffix == QStringLiteral("png"))
        return kPng;
    if (suffix == QStringLiteral("pdf"))
        return kPdf;
    return filterIndex >= kCsv && filterIndex <= kPdf ? filterIndex : kCsv;
}

// Written to a temporary file first, so a failure never leaves half a file behind.
bool WriteCsv(const RaceData& race, const QString& path) {
    std::ostringstream csv;
    WriteLapsCsv(csv, race);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::string bytes = csv.str();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file.commit();
}

} // namespace

void CMainFrame::OnFileExport() {
    auto* document = dynamic_cast<CTarmioDoc*>(GetActiveDocument());
    CTarmioView* view = GetGraphView();
    if (document == nullptr || document->GetRaceData() == nullptr || view == nullptr)
        return;
    const FileOpenResult chosen = AfxGetPrompter().GetSaveFileName(
        {QString::fromLatin1(kExportFilter), m_strExportFolder, m_nExportFilter});
    if (!chosen.confirmed || chosen.paths.isEmpty())
        return;
    const QString path = chosen.paths.constFirst();
    m_strExportFolder = QFileInfo(path).absolutePath();
    m_nExportFilter = chosen.filterIndex;
    if (document->IsInputFile(path)) {
        AfxMessageBox(QString::fromLatin1(kInputFileText), MB_OK | MB_ICONSTOP);
        return;
    }
    bool written = false;
    switch (FormatOf(path, chosen.filterIndex)) {
    case kPng: {
        CRect client;
        view->GetClientRect(&client);
        written = view->grab(QRect(client.left, client.top, client.Width(), client.Height()))
                      .toImage()
                      .save(path, "PNG");
        break;
    }
    case kPdf:
        written = PrintViewToPdf(*view, path) != FALSE;
        break;
    default:
        written = WriteCsv(*document->GetRaceData(), path);
        break;
    }
    if (!written)
        AfxMessageBox(QString::fromLatin1(kWriteFailedText), MB_OK | MB_ICONSTOP);
}
