#pragma once

#include "framework/Afx.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <functional>
#include <optional>

// Reads the string values of a program's version resource, in its first translation. The
// resource is a small JSON block built into the executable (see VersionResource.cpp.in).
class CVersionInfo {
public:
    // Gives the version data of the named file, or nothing when it has none. Replaceable, so
    // that tests can take the resource away.
    using ResourceSource = std::function<std::optional<QByteArray>(const QString& fileName)>;
    static void SetResourceSource(ResourceSource source);

    CVersionInfo() = default;
    virtual ~CVersionInfo();
    CVersionInfo(const CVersionInfo&) = delete;
    CVersionInfo& operator=(const CVersionInfo&) = delete;

    // The version data of the named file, or of the running program when the name is null.
    BOOL Load(const char* pszFileName);
    QString GetString(const QString& key);

    QString GetFileVersion() { return GetString("FileVersion"); }
    QString GetLegalCopyright() { return GetString("LegalCopyright"); }
    QString GetCompanyName() { return GetString("CompanyName"); }
    QString GetProductName() { return GetString("ProductName"); }

    const QString& GetTranslation() const { return m_strTranslation; }

private:
    // Looks path ("\Block\Sub\Value") up in the data block; fills the value and its length.
    bool QueryValue(const QString& path);

    BOOL m_bValid = FALSE;
    DWORD m_dwDataSize = 0;
    std::optional<QByteArray> m_pData;
    QJsonValue m_value;
    DWORD m_dwValueLength = 0;
    WORD m_wLanguage = 0;
    WORD m_wCodePage = 1252;
    QString m_strTranslation;
    QString m_strQueryPath;
};

// The version block built into this executable.
QByteArray BuiltInVersionResource();
