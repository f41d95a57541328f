#include "app/AboutDlg.h"

#include "app/Artwork.h"
#include "app/Resource.h"
#include "app/VersionInfo.h"
#include "framework/Prompter.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

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
} // namespace

CAboutDlg::CAboutDlg() : CDialog(nullptr) {
    setWindowTitle(kCaption);
    setModal(true);
    CreateControls();
}

void CAboutDlg::CreateControls() {
    const QRect size = DialogUnitsToPixels(0, 0, kDialogSizeUnits.width(), kDialogSizeUnits.height());
    setFixedSize(size.size());

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    ok->setGeometry(DialogUnitsToPixels(246, 7, 32, 14));
    connect(ok, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    AddDlgItem(IDOK, ok);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(ProgramIconImage(kIconSize)));
    const QRect iconBox = DialogUnitsToPixels(11, 17, 18, 20);
    icon->setGeometry(QRect(iconBox.topLeft(), QSize(kIconSize, kIconSize)));

    auto* version = new QLabel(this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(DialogUnitsToPixels(40, 10, 176, 8));
    AddDlgItem(IDC_ABOUT_VERSION, version);

    auto* copyright = new QLabel(this);
    copyright->setTextFormat(Qt::PlainText);
    copyright->setGeometry(DialogUnitsToPixels(40, 25, 238, 8));
    AddDlgItem(IDC_ABOUT_COPYRIGHT, copyright);

    auto* description = new QPlainTextEdit(this);
    description->setReadOnly(true);
    description->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    description->setGeometry(DialogUnitsToPixels(7, 40, 271, 32));
    AddDlgItem(IDC_ABOUT_DESCRIPTION, description);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CVersionInfo versionInfo;
    if (!versionInfo.Load(nullptr)) {
        AfxMessageBox(kVersionReadError, MB_OK | MB_ICONSTOP);
        EndDialog(IDABORT);
        return FALSE;
    }
    SetDlgItemText(
        IDC_ABOUT_VERSION,
        QString(kVersionLineFormat).arg(versionInfo.GetProductName(), versionInfo.GetFileVersion()));
    SetDlgItemText(IDC_ABOUT_COPYRIGHT, versionInfo.GetLegalCopyright() + " " + versionInfo.GetCompanyName());
    SetDlgItemText(IDC_ABOUT_DESCRIPTION, kDescription);
    GetDlgItem(IDOK)->setFocus();
    return TRUE;
}
