#include "framework/CFile.h"

#include "data/DiskFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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

constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr char16_t kFirstEscapedByte = 0xDC80;
constexpr char16_t kLastEscapedByte = 0xDCFF;

// Length of the well-formed UTF-8 sequence at the start of bytes, 0 when there is none.
qsizetype Utf8SequenceLength(QByteArrayView bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return 1;
    struct Form {
        unsigned char mask, pattern;
        qsizetype length;
        char32_t lowest;
    };
    constexpr Form kForms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    for (const Form& form : kForms) {
        if ((lead & form.mask) != form.pattern)
            continue;
        if (bytes.size() < form.length)
            return 0;
        char32_t code = lead & static_cast<unsigned char>(~form.mask);
        for (qsizetype at = 1; at < form.length; ++at) {
            const auto next = static_cast<unsigned char>(bytes[at]);
            if ((next & 0xC0) != 0x80)
                return 0;
            code = (code << 6) | (next & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code >= form.lowest && code <= 0x10FFFF && !surrogate ? form.length : 0;
    }
    return 0;
}

bool HasEscapedBytes(const QString& fileName) {
    return std::any_of(fileName.begin(), fileName.end(), [](QChar c) {
        return c.unicode() >= kFirstEscapedByte && c.unicode() <= kLastEscapedByte;
    });
}

} // namespace

QString CFile::DecodeName(const QByteArray& localName) {
    const QString decoded = QFile::decodeName(localName);
    if (QFile::encodeName(decoded) == localName && !HasEscapedBytes(decoded))
        return decoded;
    // Only a UTF-8 locale loses bytes: every 8-bit encoding maps each byte to a character.
    QString name;
    for (qsizetype at = 0; at < localName.size();) {
        const qsizetype length = Utf8SequenceLength(QByteArrayView(localName).sliced(at));
        if (length == 0) {
            name += QChar(kEscapedByteBase + static_cast<unsigned char>(localName[at]));
            ++at;
        } else {
            name += QString::fromUtf8(localName.sliced(at, length));
            at += length;
        }
    }
    return name;
}

QByteArray CFile::EncodeName(const QString& fileName) {
    if (!HasEscapedBytes(fileName))
        return QFile::encodeName(fileName);
    QByteArray bytes;
    QString run;
    for (const QChar c : fileName) {
        if (c.unicode() < kFirstEscapedByte || c.unicode() > kLastEscapedByte) {
            run += c;
            continue;
        }
        bytes += QFile::encodeName(run);
        run.clear();
        bytes += static_cast<char>(c.unicode() - kEscapedByteBase);
    }
    return bytes + QFile::encodeName(run);
}

CFile::CFile() = default;

CFile::CFile(const QString& path, UINT nOpenFlags) {
    CFileException error;
    if (!Open(path, nOpenFlags, &error))
        throw error;
}

CFile::~CFile() = default;

BOOL CFile::Open(const QString& path, UINT, CFileException* pError) {
    Close();
    const std::string localPath = EncodeName(path).toStdString();
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
