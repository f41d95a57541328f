#include "AppShellFixture.h"
#include "app/AboutDlg.h"
#include "app/Resource.h"
#include "app/VersionInfo.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

TEST_F(AppShell, AboutBoxShowsVersionCopyrightAndDescription) {
    Start();
    bool shown = false;
    // Reads the About box while it runs, then presses its OK button.
    QTimer::singleShot(0, [&shown] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        shown = about->isVisible();
        EXPECT_EQ(about->GetDlgItemText(IDC_ABOUT_VERSION), "TarmioView Version 3.00 (Aug  7 2002)");
        EXPECT_EQ(about->GetDlgItemText(IDC_ABOUT_COPYRIGHT), "Copyright (C) 2026 TarmioView developers");
        const QString intro = "Viewer for Lodrun log data.\n\n";
        const QString description = about->GetDlgItemText(IDC_ABOUT_DESCRIPTION);
        EXPECT_TRUE(description.startsWith(intro) && description.size() > intro.size());
        EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(about->GetDlgItem(IDC_ABOUT_DESCRIPTION))->isReadOnly());
        QTest::mouseClick(qobject_cast<QPushButton*>(about->GetDlgItem(IDOK)), Qt::LeftButton);
    });
    EXPECT_TRUE(Frame().SendCommand(ID_APP_ABOUT));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AppShell, MissingVersionResourceIsReportedAndTheBoxNeverShows) {
    CVersionInfo::SetResourceSource([](const QString&) { return std::nullopt; });
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDABORT);
    EXPECT_FALSE(about.isVisible());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0],
              (ScriptedPrompter::Message{"Error reading version resource", MB_OK | MB_ICONSTOP}));
}

TEST(VersionInfo, UsesTheFirstTranslationOfAnotherFileAndGivesEmptyForMissingStrings) {
    QTemporaryDir folder;
    const QString path = folder.filePath("other.version");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"VarFileInfo": {"Translation": [[1031, 1252], [1033, 1200]]},
                   "StringFileInfo": {"040704E4": {"ProductName": "Other", "FileVersion": ""},
                                      "040904B0": {"ProductName": "Wrong"}}})");
    file.close();
    CVersionInfo info;
    ASSERT_TRUE(info.Load(path.toLocal8Bit().constData()));
    EXPECT_EQ(info.GetTranslation(), "040704E4");
    EXPECT_EQ(info.GetProductName(), "Other");
    EXPECT_EQ(info.GetFileVersion(), "");
    EXPECT_EQ(info.GetLegalCopyright(), "");
}

TEST(VersionInfo, RefusesDataWithoutATranslation) {
    CVersionInfo::SetResourceSource([](const QString&) { return QByteArray(R"({"StringFileInfo": {}})"); });
    CVersionInfo info;
    EXPECT_FALSE(info.Load(nullptr));
    EXPECT_EQ(info.GetProductName(), "");
    CVersionInfo::SetResourceSource({});
}
