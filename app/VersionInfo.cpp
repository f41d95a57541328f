#include "app/VersionInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// The platform's path limit, terminating NUL included.
constexpr int kMaxPath = 260;

std::optional<QByteArray> ReadResource(const QString& fileName) {
    if (fileName == QCoreApplication::applicationFilePath())
        return BuiltInVersionResource();
    // Another file's version data is read from the file itself, in the same block form.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

CVersionInfo::ResourceSource g_resourceSource = ReadResource;
} // namespace

void CVersionInfo::SetResourceSource(ResourceSource source) {
    g_resourceSource = source ? std::move(source) : ResourceSource(ReadResource);
}

CVersionInfo::~CVersionInfo() = default;

BOOL CVersionInfo::Load(const char* pszFileName) {
    m_bValid = FALSE;
    const QString fileName = pszFileName == nullptr
                                 ? QCoreApplication::applicationFilePath().left(kMaxPath - 1)
                                 : QString::fromLocal8Bit(pszFileName).left(kMaxPath - 1);
    if (fileName.isEmpty())
        return FALSE;
    m_pData = g_resourceSource(fileName);
    m_dwDataSize = m_pData.has_value() ? static_cast<DWORD>(m_pData->size()) : 0;
    if (m_dwDataSize == 0)
        return FALSE;
    m_strQueryPath = "\\VarFileInfo\\Translation";
    if (!QueryValue(m_strQueryPath) || !m_value.isArray())
        return FALSE;
    const QJsonArray first = m_value.toArray().first().toArray();
    if (first.size() < 2)
        return FALSE;
    m_wLanguage = static_cast<WORD>(first[0].toInt());
    m_wCodePage = static_cast<WORD>(first[1].toInt());
    m_strTranslation =
        QString("%1%2").arg(m_wLanguage, 4, 16, QChar('0')).arg(m_wCodePage, 4, 16, QChar('0')).toUpper();
    m_bValid = TRUE;
    return TRUE;
}

QString CVersionInfo::GetString(const QString& key) {
    QString result;
    if (m_bValid) {
        m_strQueryPath = QString("\\StringFileInfo\\%1\\%2").arg(m_strTranslation, key);
        if (QueryValue(m_strQueryPath) && m_dwValueLength > 0)
            result = m_value.toString();
    }
    return result;
}

bool CVersionInfo::QueryValue(const QString& path) {
    m_value = QJsonValue();
    m_dwValueLength = 0;
    if (!m_pData.has_value())
        return false;
    QJsonParseError error;
    const QJsonDocument block = QJsonDocument::fromJson(*m_pData, &error);
    if (error.error != QJsonParseError::NoError || !block.isObject())
        return false;
    QJsonValue node = block.object();
    for (const QString& part : path.split('\\', Qt::SkipEmptyParts)) {
        if (!node.isObject() || !node.toObject().contains(part))
            return false;
        node = node.toObject().value(part);
    }
    m_value = node;
    // As the platform counts a string value: its characters and the terminating NUL.
    if (node.isString())
        m_dwValueLength = node.toString().isEmpty() ? 0 : static_cast<DWORD>(node.toString().size() + 1);
    else if (node.isArray())
        m_dwValueLength = static_cast<DWORD>(node.toArray().size() * 2 * sizeof(WORD));
    return true;
}
