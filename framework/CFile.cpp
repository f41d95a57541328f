#include "framework/CFile.h"

#include "data/DiskFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

template <class Operation> auto Translated(const QString& fileName, Operation operation) {
    try {
        return operation();
    } catch (const CFileException&) {
        throw;
    } catch (const FileException& error) {
        throw CFileException(error.cause(), fileName);
    }
}

} // namespace

CFile::CFile() = default;

CFile::CFile(const QString& path, UINT nOpenFlags) {
    CFileException error;
    if (!Open(path, nOpenFlags, &error))
        throw error;
}

CFile::~CFile() = default;

BOOL CFile::Open(const QString& path, UINT, CFileException* pError) {
    Close();
    const std::string localPath = QFile::encodeName(path).toStdString();
    try {
        m_file = std::make_unique<DiskFile>(localPath);
    } catch (const FileException& error) {
        if (pError != nullptr)
            *pError = CFileException(error.cause(), path);
        return FALSE;
    }
    m_strFileName = path;
    m_strFilePath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return TRUE;
}

void CFile::Close() {
    m_file.reset();
    m_strFileName.clear();
    m_strFilePath.clear();
}

DiskFile& CFile::OpenFile() const {
    if (!m_file)
        throw CFileException(FileErrorCause::Generic, m_strFileName);
    return *m_file;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count) {
    return Translated(m_strFileName, [&] { return OpenFile().Read(buffer, count); });
}

std::uint64_t CFile::Seek(std::int64_t offset) {
    return Translated(m_strFileName, [&] { return OpenFile().Seek(offset); });
}

std::uint64_t CFile::GetPosition() const {
    return m_file ? m_file->GetPosition() : 0;
}

bool CFile::GetStatus(std::uint64_t& size) {
    return m_file && m_file->GetStatus(size);
}
