#pragma once

#include "framework/CCmdTarget.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CDocument;
class CFrameWnd;
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

    // The program's one document type: its strings, separated by "\n" (window title first, then
    // the document name), and how its document and frame are made.
    using DocumentClass = std::function<std::unique_ptr<CDocument>()>;
    using FrameClass = std::function<std::unique_ptr<CFrameWnd>()>;
    void SetDocumentType(const QString& docStrings, DocumentClass documentClass, FrameClass frameClass);
    // New: the document and frame are made on the first call, then the document's OnNewDocument,
    // the default title and every view's initial update. Null when refused; a refused New keeps
    // the document it had.
    CDocument* NewDocument();
    CDocument* GetDocument() const { return m_document.get(); }
    // Destroys the frame (and with it the views), then the document.
    void CloseAllDocuments();
    // Runs the event loop, then destroys the frame and document, then ExitInstance.
    int Run();

    // The framework's handlers of New and Print Setup.
    void OnFileNew();
    void OnFilePrintSetup();
    // The printer that Print Setup chose; print jobs start from it.
    QPrinter& GetPrinter();

    QString m_pszAppName;
    QString m_pszRegistryKey;
    CFrameWnd* m_pMainWnd = nullptr;

private:
    bool CreateDocumentAndFrame();

    QStringList m_docStrings;
    DocumentClass m_documentClass;
    FrameClass m_frameClass;
    // Declared before the frame so that the views die before the document they show.
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
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
