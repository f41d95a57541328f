// File, Export: the laps as CSV, the chart as it shows now as a PNG or SVG picture or a PDF page,
// with the title line and legend the dialog offers, or the race as a web report; never over one
// of the race's input files.
#include "app/MainFrame.h"
#include "data/RaceExport.h"
#include "data/RaceReport.h"
#include "document/CTarmioDoc.h"
#include "framework/PrintJob.h"
#include "framework/Prompter.h"
#include "graph/ChartPictures.h"
#include "graph/TarmioView.h"

#include <QFileInfo>
#include <QSaveFile>
#include <sstream>

namespace {

constexpr const char* kInputFileText =
    "This file is one of the race's input files and will not be overwritten.";
constexpr const char* kWriteFailedText = "The file could not be written.";

// Each written to a temporary file first, so a failure never leaves half a file behind.
bool WriteBytes(const std::string& bytes, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file.commit();
}

bool WriteCsv(CTarmioDoc& document, CTarmioView&, const PictureFrame&, const QString& path) {
    std::ostringstream csv;
    WriteLapsCsv(csv, *document.GetRaceData());
    return WriteBytes(csv.str(), path);
}

bool WritePng(CTarmioDoc&, CTarmioView& view, const PictureFrame& frame, const QString& path) {
    return SaveChartPng(DrawChartImage(view, frame), path);
}

bool WritePdf(CTarmioDoc&, CTarmioView& view, const PictureFrame& frame, const QString& path) {
    return PrintChartToPdf(view, path, frame);
}

bool WriteSvg(CTarmioDoc&, CTarmioView& view, const PictureFrame& frame, const QString& path) {
    return WriteBytes(DrawChartSvg(view, frame).toStdString(), path);
}

// The report always has a heading: the chosen title line, or the race's own.
bool WriteReport(CTarmioDoc& document, CTarmioView&, const PictureFrame& frame, const QString& path) {
    std::ostringstream page;
    WriteReportOfDocument(page, document, frame.title);
    return WriteBytes(page.str(), path);
}

struct ExportFormat {
    const char* filter; // the dialog's entry
    const char* suffix;
    bool (*write)(CTarmioDoc& document, CTarmioView& view, const PictureFrame& frame, const QString& path);
};

// In the order of the dialog's filter list; its index is the filter's, from 1.
constexpr ExportFormat kExportFormats[] = {
    {"CSV Files (*.csv)", "csv", WriteCsv},
    {"PNG Pictures (*.png)", "png", WritePng},
    {"PDF Documents (*.pdf)", "pdf", WritePdf},
    {"SVG Pictures (*.svg)", "svg", WriteSvg},
    {"HTML Race Reports (*.html)", "html", WriteReport},
};

QString ExportFilter() {
    QString filter;
    for (const ExportFormat& format : kExportFormats)
        filter += QString::fromLatin1(format.filter) + "|*." + QString::fromLatin1(format.suffix) + "|";
    return filter + "|";
}

// The extension decides; without a known one, the filter entry the user left selected does.
const ExportFormat& FormatOf(const QString& path, int filterIndex) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const ExportFormat& format : kExportFormats)
        if (suffix == QLatin1String(format.suffix))
            return format;
    const bool listed = filterIndex >= 1 && filterIndex <= static_cast<int>(std::size(kExportFormats));
    return kExportFormats[listed ? filterIndex - 1 : 0];
}

} // namespace

void CMainFrame::OnFileExport() {
    auto* document = dynamic_cast<CTarmioDoc*>(GetActiveDocument());
    CTarmioView* view = GetGraphView();
    if (document == nullptr || document->GetRaceData() == nullptr || view == nullptr)
        return;
    // The title line offered is the race's own until the user writes another.
    const QString raceTitle = QString::fromStdString(RaceTitle(*document->GetRaceData()));
    PictureFrameChoices offered = m_exportFrame;
    if (offered.titleText.isEmpty() || offered.titleText == m_strExportRaceTitle)
        offered.titleText = raceTitle;
    const FileOpenResult chosen =
        AfxGetPrompter().GetSavePictureName({ExportFilter(), m_strExportFolder, m_nExportFilter}, offered);
    if (!chosen.confirmed || chosen.paths.isEmpty())
        return;
    m_exportFrame = offered;
    m_strExportRaceTitle = raceTitle;
    PictureFrame frame;
    frame.legend = offered.legend;
    if (offered.title)
        frame.title = offered.titleText.toStdString();
    const QString path = chosen.paths.constFirst();
    m_strExportFolder = QFileInfo(path).absolutePath();
    m_nExportFilter = chosen.filterIndex;
    if (document->IsInputFile(path)) {
        AfxMessageBox(QString::fromLatin1(kInputFileText), MB_OK | MB_ICONSTOP);
        return;
    }
    const bool written = FormatOf(path, chosen.filterIndex).write(*document, *view, frame, path);
    if (!written)
        AfxMessageBox(QString::fromLatin1(kWriteFailedText), MB_OK | MB_ICONSTOP);
}
