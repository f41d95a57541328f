#include "AppShellFixture.h"
#include "app/AboutDlg.h"
#include "app/VersionInfo.h"

#include <QFile>

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

TEST(VersionInfo, ReadsTheProgramsOwnAndRefusesDataWithoutATranslation) {
    CVersionInfo own;
    ASSERT_TRUE(own.Load(nullptr));
    EXPECT_EQ(own.GetProductName() + " " + own.GetFileVersion(), "TarmioView 3.00");
    CVersionInfo::SetResourceSource([](const QString&) { return QByteArray(R"({"StringFileInfo": {}})"); });
    CVersionInfo info;
    EXPECT_FALSE(info.Load(nullptr));
    EXPECT_EQ(info.GetProductName(), "");
    CVersionInfo::SetResourceSource({});
}
