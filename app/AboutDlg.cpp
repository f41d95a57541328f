#include "app/AboutDlg.h"

#include "app/Artwork.h"
#include "app/VersionInfo.h"
#include "framework/Prompter.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace {
const char* const kCaption = "About TarmioView";
const char* const kVersionReadError = "Error reading version resource";
// The build date the program has always shown beside its version.
const char* const kVersionLineFormat = "%1 Version %2 (Aug  7 2002)";
const char* const kDescription = "Viewer for Lodrun log data.\r\n\r\n"
                                 "Many thanks to everyone who tested TarmioView on their own races and "
                                 "sent in the log files that made it better.";
constexpr QSize kDialogSizeUnits(285, 101);
constexpr int kIconSize = 32;
constexpr int kMarginUnits = 7;

// Desktop fonts can need more room than the dialog units give a line: a label grows to its text.
void FitLabel(QLabel* label) {
    const QSize hint = label->sizeHint();
    label->resize(std::max(label->width(), hint.width()), std::max(label->height(), hint.height()));
}
} // namespace

CAboutDlg::CAboutDlg() : CDialog(nullptr) {
    setWindowTitle(kCaption);
    setModal(true);
    CreateControls();
}

void CAboutDlg::CreateControls() {
    const QRect size = DialogUnitsToPixels(0, 0, kDialogSizeUnits.width(), kDialogSizeUnits.height());
    setFixedSize(size.size());

    m_pOk = new QPushButton("OK", this);
    m_pOk->setDefault(true);
    m_pOk->setGeometry(DialogUnitsToPixels(246, 7, 32, 14));
    connect(m_pOk, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(ProgramIconImage(kIconSize)));
    const QRect iconBox = DialogUnitsToPixels(11, 17, 18, 20);
    icon->setGeometry(QRect(iconBox.topLeft(), QSize(kIconSize, kIconSize)));

    m_pVersion = new QLabel(this);
    m_pVersion->setTextFormat(Qt::PlainText);
    m_pVersion->setGeometry(DialogUnitsToPixels(40, 10, 176, 8));

    m_pCopyright = new QLabel(this);
    m_pCopyright->setTextFormat(Qt::PlainText);
    m_pCopyright->setGeometry(DialogUnitsToPixels(40, 25, 238, 8));

    m_pDescription = new QPlainTextEdit(this);
    m_pDescription->setReadOnly(true);
    m_pDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pDescription->setGeometry(DialogUnitsToPixels(7, 40, 271, 32));
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CVersionInfo versionInfo;
    if (!versionInfo.Load(nullptr)) {
        AfxMessageBox(kVersionReadError, MB_OK | MB_ICONSTOP);
        EndDialog(IDABORT);
        return FALSE;
    }
    m_pVersion->setText(
        QString(kVersionLineFormat).arg(versionInfo.GetProductName(), versionInfo.GetFileVersion()));
    m_pCopyright->setText(versionInfo.GetLegalCopyright() + " " + versionInfo.GetCompanyName());
    // The text breaks its lines with CR LF, as the platform's edit control wants them.
    m_pDescription->setPlainText(QString(kDescription).replace("\r\n", "\n"));
    FitLabel(m_pVersion);
    FitLabel(m_pCopyright);
    FitDescription();
    m_pOk->setFocus();
    return TRUE;
}

// The description shows whole, never a line cut in half: its box, and the dialog below it, grow to
// the height its text takes at the designed width.
void CAboutDlg::FitDescription() {
    QTextDocument measure;
    measure.setDefaultFont(m_pDescription->font());
    measure.setDocumentMargin(m_pDescription->document()->documentMargin());
    measure.setPlainText(m_pDescription->toPlainText());
    const int frame = m_pDescription->frameWidth();
    measure.setTextWidth(m_pDescription->width() - 2 * frame);
    // The edit keeps its scroll bar until one pixel more than text and margins fits.
    const int needed = static_cast<int>(std::ceil(measure.size().height())) + 2 * frame + 1;
    if (needed <= m_pDescription->height())
        return;
    m_pDescription->resize(m_pDescription->width(), needed);
    const int margin = DialogUnitsToPixels(0, 0, 0, kMarginUnits).height();
    setFixedSize(width(), std::max(height(), m_pDescription->geometry().bottom() + 1 + margin));
}
