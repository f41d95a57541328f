#include "framework/CWinApp.h"

#include <QSettings>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const QString& appName) : m_pszAppName(appName) { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetRegistryKey(const QString& key) { m_pszRegistryKey = key; }

int CWinApp::GetProfileInt(const QString& section, const QString& entry, int nDefault) const {
    const QSettings settings(m_pszRegistryKey, m_pszAppName);
    bool ok = false;
    const int value = settings.value(section + "/" + entry).toInt(&ok);
    return ok ? value : nDefault;
}

BOOL CWinApp::WriteProfileInt(const QString& section, const QString& entry, int nValue) {
    QSettings settings(m_pszRegistryKey, m_pszAppName);
    settings.setValue(section + "/" + entry, nValue);
    settings.sync();
    return settings.status() == QSettings::NoError ? TRUE : FALSE;
}

CWinApp* AfxGetApp() { return g_app; }

CFrameWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->m_pMainWnd : nullptr; }
