#include "framework/CFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileFolder : ::testing::Test {
    QTemporaryDir folder;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

// A path that cannot be opened, and what the user is told about it.
struct OpenFailure {
    const char* name;
    std::function<QString(FileFolder&)> makePath;
    FileErrorCause cause;
    const char* messageEnd;
};

class RefusedOpen : public FileFolder, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(RefusedOpen, RaisesFileExceptionNamingTheFile) {
    const QString path = GetParam().makePath(*this);
    if (path.isEmpty())
        GTEST_SKIP() << "permissions do not bind the superuser";
    try {
        CFile file(path);
        FAIL() << "opened " << path.toStdString();
    } catch (const CFileException& error) {
        EXPECT_EQ(error.cause(), GetParam().cause);
        const QString message = error.GetErrorMessage();
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_TRUE(message.endsWith(QString::fromLatin1(GetParam().messageEnd))) << message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RefusedOpen,
    ::testing::Values(OpenFailure{"Missing", [](FileFolder& f) { return f.folder.filePath("absent.zq3"); },
                                  FileErrorCause::NotFound, " was not found."},
                      OpenFailure{"Folder", [](FileFolder& f) { return f.folder.path(); },
                                  FileErrorCause::IsFolder, " is a folder, not a file."},
                      OpenFailure{
                          "UnderAFile",
                          [](FileFolder& f) { return f.Write("plain", "x") + QStringLiteral("/inner.zq3"); },
                          FileErrorCause::BadPath, " is invalid."},
                      // Reading a pipe would wait for a writer that never comes.
                      OpenFailure{"Pipe",
                                  [](FileFolder& f) {
                                      const QString path = f.folder.filePath("pipe.zq3");
                                      ::mkfifo(QFile::encodeName(path).constData(), 0600);
                                      return path;
                                  },
                                  FileErrorCause::AccessDenied, " was denied."},
                      OpenFailure{"Unreadable",
                                  [](FileFolder& f) {
                                      const QString path = f.Write("locked.zq3", "@ZQN");
                                      QFile::setPermissions(path, QFileDevice::WriteOwner);
                                      return ::geteuid() == 0 ? QString() : path;
                                  },
                                  FileErrorCause::AccessDenied, " was denied."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileFolder, ReadsSeeksAndReportsSizeAndFullPathWithoutDotSegments) {
    Write("race.zq3", "0123456789");
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    CFile file(QStringLiteral("sub/../race.zq3"));
    QDir::setCurrent(previous);
    EXPECT_EQ(file.GetFilePath(), QFileInfo(folder.filePath("race.zq3")).canonicalFilePath());

    char bytes[4] = {};
    EXPECT_EQ(file.Read(bytes, 4), 4u);
    EXPECT_EQ(std::string(bytes, 4), "0123");
    EXPECT_EQ(file.Seek(3), 7u);
    EXPECT_EQ(file.Seek(-2), 5u);
    EXPECT_EQ(file.GetPosition(), 5u);
    EXPECT_EQ(file.Read(bytes, 4), 4u);
    EXPECT_EQ(std::string(bytes, 4), "5678");
    EXPECT_EQ(file.Read(bytes, 4), 1u) << "only what is left";
    std::uint64_t size = 0;
    EXPECT_TRUE(file.GetStatus(size));
    EXPECT_EQ(size, 10u);

    EXPECT_THROW(file.Seek(-20), CFileException);
    file.Close();
    EXPECT_FALSE(file.GetStatus(size));
    EXPECT_THROW(file.Read(bytes, 1), CFileException);
}

} // namespace

namespace {

// File names are bytes; whatever they hold, the decoded name opens the same file again.
TEST_F(FileFolder, NamesThatAreNotUtf8DecodeToANameThatOpensTheFile) {
    const QByteArray folderBytes = QFile::encodeName(folder.path());
    const struct {
        QByteArray name;
        QString decoded; // empty: not a valid name in the locale, kept byte for byte
    } cases[] = {
        {"plain.zq3", "plain.zq3"},
        {"caf\xc3\xa9.zq3", QString::fromUtf8("caf\xc3\xa9.zq3")},
        {"caf\xe9.zq3", {}},
        {"\xff\xfe\xc3.zq3", {}},
        {"\xed\xa0\x80\xc0\xaf.zq3", {}}, // an encoded surrogate and an overlong '/'
    };
    for (const auto& [name, decoded] : cases) {
        const QByteArray path = folderBytes + '/' + name;
        {
            std::FILE* out = std::fopen(path.constData(), "wb");
            ASSERT_NE(out, nullptr) << path.toHex().constData();
            std::fputs("race", out);
            std::fclose(out);
        }
        const QString fileName = CFile::DecodeName(path);
        if (!decoded.isEmpty()) {
            EXPECT_EQ(fileName, folder.path() + '/' + decoded);
        }
        EXPECT_EQ(CFile::EncodeName(fileName), path);
        CFile file(fileName);
        std::uint64_t size = 0;
        EXPECT_TRUE(file.GetStatus(size));
        EXPECT_EQ(size, 4u);
    }
}

} // namespace
