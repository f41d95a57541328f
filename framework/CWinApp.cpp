#include "framework/CWinApp.h"

#include "framework/CDocTemplate.h"
#include "framework/CFrameWnd.h"
#include "framework/PrintJob.h"
#include "framework/Prompter.h"

#include <QApplication>
#include <QPrinter>
#include <QSettings>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const QString& appName) : m_pszAppName(appName) {
    g_app = this;
}

CWinApp::~CWinApp() {
    // The frame and the document go while the application object can still be reached.
    m_pDocTemplate.reset();
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> pTemplate) {
    m_pDocTemplate = std::move(pTemplate);
}

BOOL CWinApp::OpenDocumentFile(const QString& path) {
    return m_pDocTemplate != nullptr && m_pDocTemplate->OpenDocumentFile(path) != nullptr ? TRUE : FALSE;
}

int CWinApp::Run() {
    QApplication::exec();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->CloseAllDocuments();
    m_pMainWnd = nullptr;
    return ExitInstance();
}

void CWinApp::OnFileNew() {
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->OpenDocumentFile(QString());
}

void CWinApp::OnFileOpen() {
    QString filterName;
    QString filterExt;
    if (m_pDocTemplate == nullptr ||
        !m_pDocTemplate->GetDocString(filterName, CSingleDocTemplate::filterName) ||
        !m_pDocTemplate->GetDocString(filterExt, CSingleDocTemplate::filterExt))
        return;
    FileOpenRequest request;
    request.filter = filterName + "|*" + filterExt + "|All Files (*.*)|*.*||";
    const FileOpenResult answer = AfxGetPrompter().GetOpenFileNames(request);
    if (answer.confirmed && !answer.paths.isEmpty())
        OpenDocumentFile(answer.paths.front());
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
    const int value = settings.value(section + "/" + entry).toInt(&ok);
    return ok ? value : nDefault;
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
