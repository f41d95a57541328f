#include "ScriptedPrompter.h"
#include "framework/PrintSetupDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The buttons a style shows and which of them Enter picks.
struct StyleCase {
    unsigned style;
    std::vector<int> answers;
    int defaultAnswer;
};

class MessageBoxStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MessageBoxStyle, OffersTheStylesButtonsWithItsDefault) {
    EXPECT_EQ(MessageBoxAnswers(GetParam().style), GetParam().answers);
    EXPECT_EQ(DefaultMessageBoxAnswer(GetParam().style), GetParam().defaultAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxStyle,
    ::testing::Values(StyleCase{MB_OK | MB_ICONSTOP, {IDOK}, IDOK},
                      StyleCase{MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, {IDYES, IDNO}, IDNO},
                      StyleCase{MB_YESNO, {IDYES, IDNO}, IDYES},
                      StyleCase{MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, IDCANCEL},
                      StyleCase{MB_YESNOCANCEL | MB_DEFBUTTON3, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
                      StyleCase{MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, IDABORT},
                      StyleCase{MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY},
                      // A default button the style does not have falls back to the first one.
                      StyleCase{MB_OK | MB_DEFBUTTON3, {IDOK}, IDOK}));

// The icon a message box gets when the caller names none.
struct IconCase {
    unsigned style;
    unsigned shown;
};

class DefaultIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(DefaultIcon, AfxMessageBoxAddsTheFrameworksIcon) {
    ScriptedPrompter prompter;
    AfxMessageBox("text", GetParam().style);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].style, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Styles, DefaultIcon,
                         ::testing::Values(IconCase{MB_OK, MB_OK | MB_ICONEXCLAMATION},
                                           IconCase{MB_YESNO, MB_YESNO | MB_ICONEXCLAMATION},
                                           IconCase{MB_OK | MB_ICONSTOP, MB_OK | MB_ICONSTOP},
                                           IconCase{MB_RETRYCANCEL, MB_RETRYCANCEL}));

TEST(FileFilter, SplitsUpToTheClosingBarsAndShowsEveryCaptionWithItsPatterns) {
    EXPECT_EQ(ParseFileFilter("Logs (*.zq?)|*.zq?|Races|*.qr?;*.ra?||ignored|*.x|"),
              (std::vector<FileFilterEntry>{{"Logs (*.zq?)", {"*.zq?"}}, {"Races", {"*.qr?", "*.ra?"}}}));
    EXPECT_EQ(QtNameFilter({"Logs (*.zq?)", {"*.zq?"}}), "Logs (*.zq?)");
    EXPECT_EQ(QtNameFilter({"Races(*.qr?;*.ra?)", {"*.qr?", "*.ra?"}}), "Races(*.qr? *.ra?)");
    EXPECT_EQ(QtNameFilter({"All Log Files", {"*.zq?", "*.qr?"}}), "All Log Files (*.zq? *.qr?)");
}

// Runs check on the modal dialog once it shows (Qt's dialogs run their own event loop).
void WhenModalShows(std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, [check] {
        QWidget* modal = nullptr;
        for (int attempt = 0; attempt < 100 && modal == nullptr; ++attempt) {
            modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                QTest::qWait(10);
        }
        ASSERT_NE(modal, nullptr);
        check(modal);
    });
}

TEST(QtPrompter, MessageBoxShowsIconAndDefaultButtonAndReturnsTheAnswer) {
    QtPrompter prompter;
    WhenModalShows([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Load it anyway?");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->buttons().size(), 2);
        EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(prompter.MessageBox("Load it anyway?", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2), IDNO);

    WhenModalShows([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes), Qt::LeftButton);
    });
    EXPECT_EQ(prompter.MessageBox("Load it anyway?", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2), IDYES);
}

TEST(QtPrompter, FileDialogStartsInFolderOnFilterAndReportsChoice) {
    QTemporaryDir folder;
    for (const char* name : {"a.zq3", "b.zq3"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString filter = "Logs (*.zq?)|*.zq?|Races|*.qr?|All Files (*.*)|*.*||";
    QtPrompter prompter;
    WhenModalShows([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(QFileInfo(dialog->directory().path()).canonicalFilePath(),
                  QFileInfo(folder.path()).canonicalFilePath());
        EXPECT_EQ(dialog->selectedNameFilter(), "Races (*.qr?)");
        dialog->selectNameFilter("Logs (*.zq?)");
        auto* name = dialog->findChild<QLineEdit*>();
        ASSERT_NE(name, nullptr);
        name->setText("\"b.zq3\" \"a.zq3\"");
        QTest::keyClick(name, Qt::Key_Return);
    });
    const FileOpenResult result = prompter.GetOpenFileNames({filter, folder.path(), 2});
    ASSERT_TRUE(result.confirmed);
    EXPECT_EQ(result.filterIndex, 1);
    ASSERT_EQ(result.paths.size(), 2);
    EXPECT_EQ(QFileInfo(result.paths[0]).fileName(), "b.zq3");
    EXPECT_EQ(QFileInfo(result.paths[1]).fileName(), "a.zq3");
    EXPECT_TRUE(QFileInfo(result.paths[0]).isAbsolute());
}

TEST(QtPrompter, CancelledFileDialogConfirmsNothing) {
    QtPrompter prompter;
    WhenModalShows([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_FALSE(prompter.GetOpenFileNames({"Logs|*.zq?||", {}, 1}).confirmed);
}

// Real files make the half second: a short job shows nothing, a longer one the dialog, whose
// Cancel is seen before the next step.
TEST(QtPrompter, ProgressShowsAfterHalfASecondAndReportsCancel) {
    QtPrompter prompter;
    auto progressDialog = [] {
        return QApplication::activeModalWidget() != nullptr
                   ? qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())
                   : nullptr;
    };
    EXPECT_TRUE(prompter.ShowProgress(0, 3, "a.zq3"));
    EXPECT_EQ(progressDialog(), nullptr);
    QTest::qWait(QtPrompter::kProgressDelayMs + 100);
    EXPECT_TRUE(prompter.ShowProgress(1, 3, "b.zq3"));
    QProgressDialog* dialog = progressDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->labelText(), "Loading file 2 of 3: b.zq3");
    EXPECT_EQ(dialog->value(), 1);
    dialog->cancel();
    EXPECT_FALSE(prompter.ShowProgress(2, 3, "c.zq3"));
    prompter.EndProgress();
    EXPECT_EQ(progressDialog(), nullptr);
}

} // namespace

// Print Setup changes paper and orientation of the printer it was given on OK, nothing on
// Cancel, and prints nothing either way.
TEST(QtPrompter, PrintSetupKeepsPaperAndOrientationForLaterJobs) {
    QTemporaryDir folder;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("never.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    QtPrompter prompter;
    for (const bool accepted : {false, true}) {
        WhenModalShows([accepted](QWidget* modal) {
            auto* dialog = qobject_cast<CPrintSetupDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Print Setup");
            dialog->PaperBox()->setCurrentIndex(dialog->PaperBox()->findData(int(QPageSize::Letter)));
            dialog->LandscapeButton()->setChecked(true);
            QTest::keyClick(modal, accepted ? Qt::Key_Return : Qt::Key_Escape);
        });
        EXPECT_EQ(prompter.PrintSetupDialog(printer), accepted);
        EXPECT_EQ(printer.pageLayout().pageSize().id(), accepted ? QPageSize::Letter : QPageSize::A4);
        EXPECT_EQ(printer.pageLayout().orientation(),
                  accepted ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("never.pdf")));
}
