#include "framework/CDocTemplate.h"

#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"

namespace {
// The framework's name for a document that has none of its own yet.
const char* const kUntitled = "Untitled";
} // namespace

CSingleDocTemplate::CSingleDocTemplate(const QString& docStrings, DocumentClass documentClass,
                                       FrameClass frameClass)
    : m_docStrings(docStrings.split('\n')), m_documentClass(std::move(documentClass)),
      m_frameClass(std::move(frameClass)) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    CloseAllDocuments();
}

void CSingleDocTemplate::CloseAllDocuments() {
    m_frame.reset();
    m_document.reset();
}

BOOL CSingleDocTemplate::GetDocString(QString& rString, DocStringIndex index) const {
    rString.clear();
    if (index < 0 || index >= m_docStrings.size())
        return FALSE;
    rString = m_docStrings[index];
    return TRUE;
}

BOOL CSingleDocTemplate::CreateDocumentAndFrame() {
    if (m_document == nullptr) {
        m_document = m_documentClass();
        if (m_document == nullptr)
            return FALSE;
    }
    if (m_frame != nullptr)
        return TRUE;
    m_frame = m_frameClass();
    if (m_frame == nullptr)
        return FALSE;
    QString title;
    GetDocString(title, windowTitle);
    m_frame->SetTitle(title);
    CCreateContext context{m_document.get()};
    if (!m_frame->LoadFrame(&context)) {
        m_frame.reset();
        return FALSE;
    }
    return TRUE;
}

void CSingleDocTemplate::SetDefaultTitle() {
    QString title;
    if (!GetDocString(title, docName) || title.isEmpty())
        title = kUntitled;
    m_document->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const QString& pathName, BOOL bMakeVisible) {
    const bool frameExisted = m_frame != nullptr;
    if (!CreateDocumentAndFrame())
        return nullptr;
    if (pathName.isEmpty()) {
        SetDefaultTitle();
        if (!m_document->OnNewDocument()) {
            if (!frameExisted)
                m_frame.reset();
            return nullptr;
        }
    } else if (!m_document->OnOpenDocument(pathName)) {
        if (!frameExisted)
            m_frame.reset();
        return nullptr;
    }
    m_frame->InitialUpdateFrame(m_document.get(), bMakeVisible);
    return m_document.get();
}
