#include "data/DiskFile.h"
#include "framework/FileNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteRace(const QByteArray& path) {
    std::FILE* out = std::fopen(path.constData(), "wb");
    ASSERT_NE(out, nullptr) << path.toHex().constData();
    std::fputs("race", out);
    std::fclose(out);
}

// File names are bytes; whatever they hold, the decoded name opens the same file again.
TEST(FileNames, NamesThatAreNotUtf8DecodeToANameThatOpensTheFile) {
    QTemporaryDir folder;
    const QByteArray folderBytes = QFile::encodeName(folder.path());
    const struct {
        QByteArray name;
        QString decoded; // empty: not a valid name in the locale, kept byte for byte
    } cases[] = {
        {"caf\xc3\xa9.zq3", QString::fromUtf8("caf\xc3\xa9.zq3")},
        {"caf\xe9.zq3", {}},
        {"\xed\xa0\x80\xc0\xaf.zq3", {}}, // an encoded surrogate and an overlong '/'
    };
    for (const auto& [name, decoded] : cases) {
        const QByteArray path = folderBytes + '/' + name;
        WriteRace(path);
        const QString fileName = DecodeFileName(path);
        EXPECT_TRUE(decoded.isEmpty() || fileName == folder.path() + '/' + decoded) << fileName.toStdString();
        EXPECT_EQ(EncodeFileName(fileName), path);
        DiskFile file(EncodeFileName(fileName).toStdString());
        std::uint64_t size = 0;
        EXPECT_TRUE(file.GetStatus(size));
        EXPECT_EQ(size, 4u);
    }
}

// Reading a pipe would wait for a writer that never comes; an unreadable file is refused too.
TEST(FileNames, PipesAndUnreadableFilesAreRefusedAsAccessDenied) {
    QTemporaryDir folder;
    const QByteArray pipe = QFile::encodeName(folder.filePath("pipe.zq3"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    const QByteArray locked = QFile::encodeName(folder.filePath("locked.zq3"));
    WriteRace(locked);
    ::chmod(locked.constData(), 0200);
    for (const QByteArray& path : {pipe, locked}) {
        if (path == locked && ::geteuid() == 0)
            continue; // permissions do not bind the superuser
        try {
            DiskFile file(path.toStdString());
            ADD_FAILURE() << "opened " << path.constData();
        } catch (const FileException& error) {
            EXPECT_EQ(error.cause(), FileErrorCause::AccessDenied);
        }
    }
}

} // namespace
