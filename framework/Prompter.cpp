#include "framework/Prompter.h"

#include "framework/CFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/PrintSetupDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>
#include <optional>

namespace {

Prompter* g_installedPrompter = nullptr;

// Qt's button for each answer, indexed by the answer's value.
constexpr QMessageBox::StandardButton kAnswerButtons[] = {
    QMessageBox::NoButton, QMessageBox::Ok,     QMessageBox::Cancel, QMessageBox::Abort,
    QMessageBox::Retry,    QMessageBox::Ignore, QMessageBox::Yes,    QMessageBox::No,
};

QMessageBox::Icon IconForStyle(unsigned style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString MessageBoxTitle() {
    if (const CWinApp* app = AfxGetApp(); app != nullptr && !app->m_pszAppName.isEmpty())
        return app->m_pszAppName;
    return QGuiApplication::applicationDisplayName();
}

} // namespace

std::vector<FileFilterEntry> ParseFileFilter(const QString& filter) {
    std::vector<FileFilterEntry> entries;
    const QStringList parts = filter.split(QLatin1Char('|'));
    // Pairs of caption and patterns; the empty part of the closing "||" ends the list.
    for (qsizetype at = 0; at + 1 < parts.size(); at += 2) {
        if (parts[at].isEmpty())
            break;
        entries.push_back({parts[at], parts[at + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    }
    return entries;
}

QString QtNameFilter(const FileFilterEntry& entry) {
    const QString ownList = QLatin1Char('(') + entry.patterns.join(QLatin1Char(';')) + QLatin1Char(')');
    const QString qtList = QLatin1Char('(') + entry.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    QString caption = entry.caption.trimmed();
    if (caption.endsWith(ownList)) {
        caption.chop(ownList.size());
        // "Files(*.a)" keeps its look; Qt only needs the list at the end.
        return caption + qtList;
    }
    return caption + QLatin1Char(' ') + qtList;
}

QtPrompter::QtPrompter() = default;
QtPrompter::~QtPrompter() = default;

QWidget* QtPrompter::DialogParent() {
    if (CFrameWnd* frame = AfxGetMainWnd())
        return frame;
    return QApplication::activeWindow();
}

int QtPrompter::MessageBox(const std::string& text, unsigned style) {
    const QString title =
        GetMessageSubject().isEmpty() ? MessageBoxTitle() : GetMessageSubject() + " - " + MessageBoxTitle();
    QMessageBox box(IconForStyle(style), title, QString::fromStdString(text), QMessageBox::NoButton,
                    DialogParent());
    const int defaultAnswer = DefaultMessageBoxAnswer(style);
    for (int answer : MessageBoxAnswers(style))
        box.addButton(kAnswerButtons[answer]);
    box.setDefaultButton(kAnswerButtons[defaultAnswer]);
    box.exec();
    const auto* clicked = std::find(std::begin(kAnswerButtons) + 1, std::end(kAnswerButtons),
                                    box.standardButton(box.clickedButton()));
    return clicked != std::end(kAnswerButtons) ? static_cast<int>(clicked - std::begin(kAnswerButtons))
                                               : defaultAnswer;
}

namespace {
// What the open and the save dialog share: the filter entries, the first folder, the entry
// selected at first, and which entry the user left selected.
void PrepareFileDialog(QFileDialog& dialog, const FileOpenRequest& request, const QStringList& nameFilters) {
    dialog.setNameFilters(nameFilters);
    if (!request.initialFolder.isEmpty() && QDir(request.initialFolder).exists())
        dialog.setDirectory(request.initialFolder);
    if (request.filterIndex >= 1 && request.filterIndex <= nameFilters.size())
        dialog.selectNameFilter(nameFilters[request.filterIndex - 1]);
}

QStringList QtNameFilters(const std::vector<FileFilterEntry>& entries) {
    QStringList nameFilters;
    for (const FileFilterEntry& entry : entries)
        nameFilters.append(QtNameFilter(entry));
    return nameFilters;
}

int ChosenFilterIndex(const QFileDialog& dialog, const QStringList& nameFilters, int fallback) {
    const qsizetype chosen = nameFilters.indexOf(dialog.selectedNameFilter());
    return chosen >= 0 ? static_cast<int>(chosen) + 1 : fallback;
}

// The extension a typed name without one gets: that of the entry's first pattern, if it names one.
QString FilterExtension(const std::vector<FileFilterEntry>& entries, qsizetype filterIndex) {
    if (filterIndex < 1 || filterIndex > static_cast<qsizetype>(entries.size()))
        return {};
    const QStringList& patterns = entries[static_cast<std::size_t>(filterIndex - 1)].patterns;
    if (patterns.isEmpty() || !patterns.constFirst().startsWith(QStringLiteral("*.")) ||
        patterns.constFirst().contains(QLatin1Char('?')))
        return {};
    return patterns.constFirst().mid(2);
}
} // namespace

FileOpenResult QtPrompter::GetOpenFileNames(const FileOpenRequest& request) {
    const QStringList nameFilters = QtNameFilters(ParseFileFilter(request.filter));
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly);
    PrepareFileDialog(dialog, request, nameFilters);

    FileOpenResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.confirmed = true;
    for (const QString& path : dialog.selectedFiles())
        result.paths.append(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    result.filterIndex = ChosenFilterIndex(dialog, nameFilters, request.filterIndex);
    return result;
}

namespace {
// The picture frame's choices below the file dialog's own rows; Qt's own dialog, as a native one
// takes no widgets.
class FrameChoiceRow {
public:
    FrameChoiceRow(QFileDialog& dialog, const PictureFrameChoices& offered)
        : m_title(QObject::tr("&Title line:")), m_titleText(offered.titleText),
          m_legend(QObject::tr("&Legend of driver names")) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        m_title.setChecked(offered.title);
        m_legend.setChecked(offered.legend);
        auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
        if (grid == nullptr)
            return;
        const int row = grid->rowCount();
        grid->addWidget(&m_title, row, 0);
        grid->addWidget(&m_titleText, row, 1);
        grid->addWidget(&m_legend, row + 1, 1);
    }
    PictureFrameChoices Chosen() const {
        return {m_title.isChecked(), m_titleText.text(), m_legend.isChecked()};
    }

private:
    QCheckBox m_title;
    QLineEdit m_titleText;
    QCheckBox m_legend;
};
} // namespace

namespace {
FileOpenResult RunSaveDialog(QWidget* parent, const FileOpenRequest& request, PictureFrameChoices* frame) {
    const std::vector<FileFilterEntry> entries = ParseFileFilter(request.filter);
    const QStringList nameFilters = QtNameFilters(entries);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    PrepareFileDialog(dialog, request, nameFilters);
    // The dialog adds the extension itself, so that it asks before replacing the file it names.
    const auto followFilter = [&](const QString& filter) {
        dialog.setDefaultSuffix(FilterExtension(entries, nameFilters.indexOf(filter) + 1));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    std::optional<FrameChoiceRow> frameRow;
    if (frame != nullptr)
        frameRow.emplace(dialog, *frame);

    FileOpenResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.confirmed = true;
    if (frameRow)
        *frame = frameRow->Chosen();
    result.filterIndex = ChosenFilterIndex(dialog, nameFilters, request.filterIndex);
    result.paths.append(QDir::cleanPath(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath()));
    return result;
}
} // namespace

FileOpenResult QtPrompter::GetSaveFileName(const FileOpenRequest& request) {
    return RunSaveDialog(DialogParent(), request, nullptr);
}

FileOpenResult QtPrompter::GetSavePictureName(const FileOpenRequest& request, PictureFrameChoices& frame) {
    return RunSaveDialog(DialogParent(), request, &frame);
}

bool QtPrompter::PrintDialog(QPrinter& printer, int minPage, int maxPage) {
    QPrintDialog dialog(&printer, DialogParent());
    dialog.setMinMax(minPage, maxPage);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::PrintSetupDialog(QPrinter& printer) {
    CPrintSetupDialog dialog(printer, DialogParent());
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::PrintPreview(QPrinter& printer, const PaintPages& paint) {
    QPrintPreviewDialog dialog(&printer, DialogParent());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* pagePrinter) { paint(pagePrinter); });
    dialog.exec();
}

bool QtPrompter::ShowProgress(int done, int total, const QString& stepName) {
    if (!m_progress) {
        m_progress = std::make_unique<QProgressDialog>(DialogParent());
        m_progress->setWindowTitle(MessageBoxTitle());
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(kProgressDelayMs);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setRange(0, total);
        m_progress->setValue(0);
    }
    m_progress->setLabelText(
        QStringLiteral("Loading file %1 of %2: %3").arg(done + 1).arg(total).arg(stepName));
    // Once shown, a modal progress dialog lets the events through here: the panes repaint and
    // Cancel can be pressed.
    m_progress->setValue(done);
    return !m_progress->wasCanceled();
}

void QtPrompter::EndProgress() {
    m_progress.reset();
}

Prompter& AfxGetPrompter() {
    static QtPrompter qtPrompter;
    return g_installedPrompter != nullptr ? *g_installedPrompter : qtPrompter;
}

void AfxSetPrompter(Prompter* prompter) {
    g_installedPrompter = prompter;
}

int AfxMessageBox(const QString& text, UINT style) {
    const unsigned buttons = style & MB_TYPEMASK;
    const bool exclaimed =
        buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
    if ((style & MB_ICONMASK) == 0 && exclaimed)
        style |= MB_ICONEXCLAMATION;
    return AfxGetPrompter().MessageBox(text.toStdString(), style);
}
