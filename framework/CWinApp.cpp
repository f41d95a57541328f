#include "framework/CWinApp.h"

#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/PrintJob.h"
#include "framework/Prompter.h"

#include <QApplication>
#include <QPrinter>
#include <QSettings>
#include <limits>

namespace {
CWinApp* g_app = nullptr;
bool g_eventLoopsEnded = false;
// The fields of the document strings, and the framework's name for a document without a title.
enum DocString { windowTitle, docName };
const char* const kUntitled = "Untitled";
} // namespace

void AfxEndEventLoops() {
    g_eventLoopsEnded = true;
    // Unlike quit(), exit() also ends the nested loops of modal dialogs, and dialogs opened
    // afterwards return at once, until the main loop would start again, which Run() skips.
    QCoreApplication::exit(0);
}

bool AfxEventLoopsEnded() {
    return g_eventLoopsEnded;
}

CWinApp::CWinApp(const QString& appName) : m_pszAppName(appName) {
    g_app = this;
}

CWinApp::~CWinApp() {
    // The frame and the document go while the application object can still be reached.
    CloseAllDocuments();
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetDocumentType(const QString& docStrings, DocumentClass documentClass, FrameClass frameClass) {
    m_docStrings = docStrings.split('\n');
    m_documentClass = std::move(documentClass);
    m_frameClass = std::move(frameClass);
}

void CWinApp::CloseAllDocuments() {
    m_frame.reset();
    m_document.reset();
}

bool CWinApp::CreateDocumentAndFrame() {
    if (m_document == nullptr && (!m_documentClass || (m_document = m_documentClass()) == nullptr))
        return false;
    if (m_frame != nullptr)
        return true;
    m_frame = m_frameClass();
    if (m_frame == nullptr)
        return false;
    m_frame->SetTitle(m_docStrings.value(windowTitle));
    if (!m_frame->LoadFrame(m_document.get())) {
        m_frame.reset();
        return false;
    }
    return true;
}

CDocument* CWinApp::NewDocument() {
    const bool frameExisted = m_frame != nullptr;
    if (!CreateDocumentAndFrame())
        return nullptr;
    const QString title = m_docStrings.value(docName);
    m_document->SetTitle(title.isEmpty() ? QString(kUntitled) : title);
    if (!m_document->OnNewDocument()) {
        if (!frameExisted)
            m_frame.reset();
        return nullptr;
    }
    m_frame->InitialUpdateFrame(m_document.get());
    return m_document.get();
}

int CWinApp::Run() {
    if (!g_eventLoopsEnded)
        QApplication::exec();
    CloseAllDocuments();
    m_pMainWnd = nullptr;
    return ExitInstance();
}

void CWinApp::OnFileNew() {
    NewDocument();
}

QPrinter& CWinApp::GetPrinter() {
    if (m_pPrinter == nullptr)
        m_pPrinter = NewJobPrinter();
    return *m_pPrinter;
}

void CWinApp::OnFilePrintSetup() {
    // The choice stays in the application's printer for the jobs that follow; nothing is printed.
    AfxGetPrompter().PrintSetupDialog(GetPrinter());
}

void CWinApp::SetRegistryKey(const QString& key) {
    m_pszRegistryKey = key;
}

int CWinApp::GetProfileInt(const QString& section, const QString& entry, int nDefault) const {
    const QSettings settings(m_pszRegistryKey, m_pszAppName);
    bool ok = false;
    // Read wide, so that a value beyond 32 bits is unreadable instead of cut down to its low bits.
    const qlonglong value = settings.value(section + "/" + entry).toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return nDefault;
    return static_cast<int>(value);
}

BOOL CWinApp::WriteProfileInt(const QString& section, const QString& entry, int nValue) {
    QSettings settings(m_pszRegistryKey, m_pszAppName);
    settings.setValue(section + "/" + entry, nValue);
    settings.sync();
    return settings.status() == QSettings::NoError ? TRUE : FALSE;
}

CWinApp* AfxGetApp() {
    return g_app;
}

CFrameWnd* AfxGetMainWnd() {
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}
