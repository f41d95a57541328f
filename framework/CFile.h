#pragma once

#include "data/FileErrors.h"
#include "data/RaceFile.h"
#include "framework/CException.h"

#include <QString>
#include <memory>

class DiskFile;

// Why a file could not be opened or read, with the same texts as the command-line tool.
class CFileException : public CException, public FileException {
public:
    CFileException() : FileException(FileErrorCause::Generic, {}) {}
    CFileException(FileErrorCause cause, const QString& path) : FileException(cause, path.toStdString()) {}

    QString GetErrorMessage() const override { return QString::fromStdString(message()); }
};

// A file on disk, opened for reading only: the program never writes to the files it reads.
// Opening and reading raise CFileException.
class CFile : public IRaceFile {
public:
    static constexpr UINT modeRead = 0x0000;
    static constexpr UINT shareDenyWrite = 0x0020;
    static constexpr UINT typeBinary = 0x8000;

    CFile();
    // Opens path for reading or raises CFileException.
    explicit CFile(const QString& path, UINT nOpenFlags = modeRead);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile() override;

    // FALSE, with the reason in pError when given, if path cannot be opened for reading.
    BOOL Open(const QString& path, UINT nOpenFlags = modeRead, CFileException* pError = nullptr);
    void Close();

    std::uint32_t Read(void* buffer, std::uint32_t count) override;
    std::uint64_t Seek(std::int64_t offset) override;
    std::uint64_t GetPosition() const override;
    bool GetStatus(std::uint64_t& size) override;

    // The full path of the open file; empty when none is open.
    const QString& GetFilePath() const { return m_strFilePath; }

    // File names are bytes. Decoded as Qt decodes them (QFile::decodeName) wherever that can be
    // undone; a byte that is no part of the local encoding (not UTF-8 in a UTF-8 locale) becomes
    // U+DC00 + byte, which no decoded name contains, so that EncodeName gives the bytes back and
    // the file can still be opened.
    static QString DecodeName(const QByteArray& localName);
    static QByteArray EncodeName(const QString& fileName);

private:
    DiskFile& OpenFile() const;

    std::unique_ptr<DiskFile> m_file;
    QString m_strFileName; // as the caller gave it, for the messages
    QString m_strFilePath;
};
