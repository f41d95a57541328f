#include "app/RaceSummaryDlg.h"

#include "data/RaceExport.h"
#include "document/CTarmioDoc.h"
#include "framework/CView.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <sstream>

// A view of the document that is never shown: the document tells its views of every change, and
// through this one the dialog hears of them too.
class SummaryWatcher : public CView {
public:
    explicit SummaryWatcher(CRaceSummaryDlg& dialog) : m_dialog(dialog) {}
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { m_dialog.Refresh(); }
    void OnUpdate(CView*, LPARAM) override { m_dialog.Refresh(); }

private:
    CRaceSummaryDlg& m_dialog;
};

namespace {
constexpr QSize kInitialSize(720, 560);
}

CRaceSummaryDlg::CRaceSummaryDlg(CTarmioDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_pWatcher(std::make_unique<SummaryWatcher>(*this)) {
    setWindowTitle(QString::fromLatin1(kRaceSummaryTitle));
    setModal(false);
    m_pText = new QPlainTextEdit(this);
    m_pText->setReadOnly(true);
    m_pText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, &CRaceSummaryDlg::CopyToClipboard);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pText);
    layout->addWidget(buttons);
    resize(kInitialSize);
    m_pWatcher->Create(nullptr, &m_document);
    Refresh();
}

CRaceSummaryDlg::~CRaceSummaryDlg() = default;

void CRaceSummaryDlg::Refresh() {
    std::ostringstream text;
    if (const RaceData* race = m_document.GetRaceData())
        WriteSummaryText(text, *race, SummariseRace(*race));
    const int scroll = m_pText->verticalScrollBar() != nullptr ? m_pText->verticalScrollBar()->value() : 0;
    m_pText->setPlainText(QString::fromStdString(text.str()));
    m_pText->verticalScrollBar()->setValue(scroll);
}

QString CRaceSummaryDlg::GetText() const {
    return m_pText->toPlainText();
}

void CRaceSummaryDlg::CopyToClipboard() const {
    QApplication::clipboard()->setText(GetText());
}
