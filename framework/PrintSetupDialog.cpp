#include "framework/PrintSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const char* const kTitle = "Print Setup";
// Output to a PDF file stands in for a printer where the system has none, and is always offered.
const char* const kPdfPrinter = "PDF file";
// Paper offered when the printer does not list its own.
constexpr QPageSize::PageSizeId kCommonPapers[] = {
    QPageSize::A4, QPageSize::Letter, QPageSize::Legal,     QPageSize::A3,
    QPageSize::A5, QPageSize::B5,     QPageSize::Executive,
};
} // namespace

CPrintSetupDialog::CPrintSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_printer(printer) {
    setWindowTitle(kTitle);

    auto* printerGroup = new QGroupBox("Printer", this);
    m_pPrinter = new QComboBox(printerGroup);
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        m_pPrinter->addItem(name, name);
    m_pPrinter->addItem(kPdfPrinter, QString());
    const bool toPdf = printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty();
    m_pPrinter->setCurrentIndex(toPdf ? m_pPrinter->count() - 1
                                      : std::max(0, m_pPrinter->findData(printer.printerName())));
    auto* printerLayout = new QFormLayout(printerGroup);
    printerLayout->addRow("&Name:", m_pPrinter);

    auto* paperGroup = new QGroupBox("Paper", this);
    m_pPaper = new QComboBox(paperGroup);
    auto* paperLayout = new QFormLayout(paperGroup);
    paperLayout->addRow("Si&ze:", m_pPaper);
    FillPapers();
    connect(m_pPrinter, &QComboBox::currentIndexChanged, this, &CPrintSetupDialog::FillPapers);

    auto* orientationGroup = new QGroupBox("Orientation", this);
    auto* portrait = new QRadioButton("P&ortrait", orientationGroup);
    m_pLandscape = new QRadioButton("L&andscape", orientationGroup);
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? m_pLandscape : portrait)
        ->setChecked(true);
    auto* orientationLayout = new QVBoxLayout(orientationGroup);
    orientationLayout->addWidget(portrait);
    orientationLayout->addWidget(m_pLandscape);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* paperRow = new QHBoxLayout;
    paperRow->addWidget(paperGroup, 1);
    paperRow->addWidget(orientationGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerGroup);
    layout->addLayout(paperRow);
    layout->addWidget(buttons);
}

void CPrintSetupDialog::FillPapers() {
    // The paper chosen so far stays chosen when the new printer has it.
    const QPageSize::PageSizeId wanted =
        m_pPaper->count() > 0 ? static_cast<QPageSize::PageSizeId>(m_pPaper->currentData().toInt())
                              : m_printer.pageLayout().pageSize().id();
    m_pPaper->clear();
    const QString name = m_pPrinter->currentData().toString();
    QList<QPageSize> papers;
    if (!name.isEmpty())
        papers = QPrinterInfo::printerInfo(name).supportedPageSizes();
    if (papers.isEmpty()) {
        for (const QPageSize::PageSizeId id : kCommonPapers)
            papers.append(QPageSize(id));
    }
    for (const QPageSize& paper : papers)
        m_pPaper->addItem(paper.name(), static_cast<int>(paper.id()));
    m_pPaper->setCurrentIndex(std::max(0, m_pPaper->findData(static_cast<int>(wanted))));
}

void CPrintSetupDialog::accept() {
    const QString name = m_pPrinter->currentData().toString();
    if (name.isEmpty()) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(name);
    }
    m_printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(m_pPaper->currentData().toInt())));
    m_printer.setPageOrientation(m_pLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QDialog::accept();
}
