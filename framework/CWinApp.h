#pragma once

#include "framework/CCmdTarget.h"

#include <QString>

class CFrameWnd;

// The application object: start-up and exit, settings, and the last stop of command routing.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const QString& appName);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // Settings under organisation key / application name (QSettings).
    void SetRegistryKey(const QString& key);
    int GetProfileInt(const QString& section, const QString& entry, int nDefault) const;
    BOOL WriteProfileInt(const QString& section, const QString& entry, int nValue);

    QString m_pszAppName;
    QString m_pszRegistryKey;
    CFrameWnd* m_pMainWnd = nullptr;
};

// The one application object, or null before it is made and after it is gone.
CWinApp* AfxGetApp();
CFrameWnd* AfxGetMainWnd();
