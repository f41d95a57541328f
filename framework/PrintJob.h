#pragma once

#include "framework/Afx.h"

#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class CPrintInfo;
class CView;
class QImage;
class QPainter;
class QPrinter;

// Printers print at this resolution. The chart's printer font is 16 device pixels high: at 150 dpi
// that reads like 8-point type, where a 1200-dpi device would make it a speck.
constexpr int kPrintResolution = 150;

// A printer for a new job, at kPrintResolution.
std::unique_ptr<QPrinter> NewJobPrinter();

// Runs one job of one page on printer: OnBeginPrinting, OnPrepareDC, OnDraw, OnEndPrinting, on
// a printing device context. FALSE when the printer could not be started
// or reported an error.
BOOL RunPrintJob(CView& view, QPrinter& printer, CPrintInfo& info);

// Paints on the page after the view has printed onto it, in device pixels of the printable area;
// the painter's state is restored afterwards.
using PageEpilogue = std::function<void(QPainter& painter)>;

// Prints view's page into a PDF file without any dialog, as direct printing on a fresh job's
// page would. FALSE when the view declined or the file could not be written.
BOOL PrintViewToPdf(CView& view, const QString& path, const PageEpilogue& epilogue = {});
// The printable area of the page PrintViewToPdf prints on, in device pixels.
QSize PdfPrintableSize();

// Prints view's page onto an image the size of the page, as a printer of the image's
// resolution would; the image keeps whatever background it had.
void PrintViewToImage(CView& view, QImage& page);

// What the user is told when a job could not be carried out.
constexpr const char* kPrintFailedText = "Failed to start print job.";
