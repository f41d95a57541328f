#include "ScriptedPrompter.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The buttons a style shows, which of them Enter picks, and whether AfxMessageBox adds the
// exclamation mark.
TEST(MessageBoxStyle, OffersTheStylesButtonsWithItsDefaultAndIcon) {
    const struct {
        unsigned style;
        std::vector<int> answers;
        int defaultAnswer;
        bool exclaimed;
    } cases[] = {
        {MB_OK, {IDOK}, IDOK, true},
        {MB_OK | MB_ICONSTOP, {IDOK}, IDOK, false},
        {MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, IDNO, true},
        {MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, IDCANCEL, true},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {IDYES, IDNO, IDCANCEL}, IDCANCEL, true},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY, false},
        {MB_OK | MB_DEFBUTTON3, {IDOK}, IDOK, true}, // a missing default button falls back to the first
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageBoxAnswers(c.style), c.answers) << c.style;
        EXPECT_EQ(DefaultMessageBoxAnswer(c.style), c.defaultAnswer) << c.style;
        ScriptedPrompter prompter;
        AfxMessageBox("text", c.style);
        EXPECT_EQ(prompter.messages.at(0).style, c.style | (c.exclaimed ? MB_ICONEXCLAMATION : 0));
    }
}

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

// The title names the subject, when there is one, before the program.
TEST(QtPrompter, MessageBoxShowsTitleIconAndDefaultButtonAndReturnsTheAnswer) {
    QtPrompter prompter;
    const QString program = QGuiApplication::applicationDisplayName();
    QStringList titles;
    for (const QString& subject : {QString("heat 2.ra3"), QString()}) {
        prompter.SetMessageSubject(subject);
        WhenModalShows([&titles](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            titles << box->windowTitle();
            EXPECT_EQ(box->text(), "Load it anyway?");
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(box->buttons().size(), 2);
            EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::No);
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(prompter.MessageBox("Load it anyway?", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2),
                  IDNO);
    }
    EXPECT_EQ(titles, QStringList({"heat 2.ra3 - " + program, program}));
}

// The dialog names the next file and reports Cancel before that step; Qt decides when it shows.
TEST(QtPrompter, ProgressNamesTheNextFileAndReportsCancel) {
    QtPrompter prompter;
    auto progressDialog = []() -> QProgressDialog* {
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(widget))
                return dialog;
        return nullptr;
    };
    EXPECT_TRUE(prompter.ShowProgress(0, 3, "a.zq3"));
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

// A typed name gets the extension of the chosen entry before the dialog looks for the file, so
// replacing one that exists is asked about, and refusing keeps the dialog open.
TEST(QtPrompter, SaveDialogAsksBeforeReplacingTheFileTheExtensionNames) {
    QTemporaryDir folder;
    QFile existing(folder.filePath("race.csv"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QtPrompter prompter;
    QString question;
    WhenModalShows([&question](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile("race");
        WhenModalShows([&question](QWidget* box) {
            question =
                qobject_cast<QMessageBox*>(box) != nullptr ? qobject_cast<QMessageBox*>(box)->text() : "";
            QTest::keyClick(box, Qt::Key_Escape);
        });
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        EXPECT_TRUE(dialog->isVisible());
        dialog->selectFile("lap");
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    const FileOpenResult result =
        prompter.GetSaveFileName({"Comma separated (*.csv)|*.csv||", folder.path(), 1});
    EXPECT_TRUE(question.startsWith("race.csv already exists")) << question.toStdString();
    ASSERT_TRUE(result.confirmed);
    EXPECT_EQ(result.paths, QStringList{folder.filePath("lap.csv")});
}

} // namespace
