#pragma once

#include "framework/CCmdTarget.h"

#include <QString>
#include <functional>
#include <vector>

class CView;

// The document of the document/view pattern: owns the data, knows its views, tells them of
// changes. The program has one document at a time.
class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    ~CDocument() override;

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Calls OnUpdate of every view but the sender before it returns.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0);

    // New: clears the contents; the default title is set by the caller of the New sequence.
    virtual BOOL OnNewDocument();
    virtual void DeleteContents() {}

    // Told whenever the title changes (the frame shows it in its caption).
    std::function<void()> m_onTitleChanged;

private:
    QString m_strTitle;
    std::vector<CView*> m_views;
};
