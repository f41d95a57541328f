#pragma once

#include "framework/CCmdTarget.h"

#include <QString>
#include <memory>

class CFrameWnd;
class CSingleDocTemplate;
class QPrinter;

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

    // The single document template; the application owns it.
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> pTemplate);
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
    // Hands path to the document's open operation (an empty path runs New).
    BOOL OpenDocumentFile(const QString& path);
    // Runs the event loop, then destroys the frame and document, then ExitInstance.
    int Run();

    // The framework's handlers of New, Open and Print Setup.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    // The printer that Print Setup chose; print jobs start from it.
    QPrinter& GetPrinter();

    QString m_pszAppName;
    QString m_pszRegistryKey;
    CFrameWnd* m_pMainWnd = nullptr;

private:
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<QPrinter> m_pPrinter;
};

// Ends every running event loop, the main one and those of open dialogs, and keeps new ones from
// running: the program is on its way out (a termination signal), also when the main loop has not
// started yet. Loops that load files stop between two files.
void AfxEndEventLoops();
bool AfxEventLoopsEnded();

// The one application object, or null before it is made and after it is gone.
CWinApp* AfxGetApp();
CFrameWnd* AfxGetMainWnd();
