#pragma once

#include "framework/Afx.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class CDocument;
class CFrameWnd;
class CSingleDocTemplate;

// What a frame needs to know while it creates its views.
struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
};

// The one document type of a single-document program: makes the document, its frame and the
// frame's views once, and runs the New sequence on them as often as asked.
class CSingleDocTemplate {
public:
    using DocumentClass = std::function<std::unique_ptr<CDocument>()>;
    using FrameClass = std::function<std::unique_ptr<CFrameWnd>()>;

    // The fields of the document string, in the order they are separated by "\n".
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CSingleDocTemplate(const QString& docStrings, DocumentClass documentClass, FrameClass frameClass);
    ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    BOOL GetDocString(QString& rString, DocStringIndex index) const;

    // An empty path runs New: the document and frame are made on the first call, then the
    // document's OnNewDocument, the default title and every view's initial update. A path goes to
    // the document's OnOpenDocument. Null when refused; a refused New keeps the document it had.
    CDocument* OpenDocumentFile(const QString& pathName, BOOL bMakeVisible = TRUE);

    CDocument* GetDocument() const { return m_document.get(); }
    // Destroys the frame (and with it the views), then the document.
    void CloseAllDocuments();

private:
    BOOL CreateDocumentAndFrame();
    void SetDefaultTitle();

    QStringList m_docStrings;
    DocumentClass m_documentClass;
    FrameClass m_frameClass;
    // Declared before the frame so that the views die before the document they show.
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
};
