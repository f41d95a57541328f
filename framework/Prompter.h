#pragma once

// Everything modal the program asks of the user goes through one replaceable prompter: message
// boxes, the file dialogs, the print dialogs and the print preview. The program installs
// nothing and gets Qt's dialogs; tests install a scripted one.

#include "common/Prompt.h"
#include "framework/Afx.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPrinter;
class QProgressDialog;
class QWidget;

// One entry of a file dialog filter in the platform's "caption|pattern|...||" form; patterns
// are separated by ';'.
struct FileFilterEntry {
    QString caption;
    QStringList patterns;
    bool operator==(const FileFilterEntry&) const = default;
};
std::vector<FileFilterEntry> ParseFileFilter(const QString& filter);
// Qt's form of one entry: "Caption (*.a *.b)"; a caption that already ends in its own pattern
// list in parentheses is not given a second one.
QString QtNameFilter(const FileFilterEntry& entry);

// What a save dialog may offer beside the name of a picture: a title line and a legend.
struct PictureFrameChoices {
    bool title = false;
    QString titleText;
    bool legend = false;
};

struct FileOpenRequest {
    QString filter;        // "caption|pattern|...||"
    QString initialFolder; // empty: the dialog's own choice
    int filterIndex = 1;   // 1-based
};

struct FileOpenResult {
    bool confirmed = false;
    QStringList paths;   // full paths, in the order the dialog gives them
    int filterIndex = 0; // 1-based entry of the filter the user left selected
};

class Prompter : public IPrompt {
public:
    // Called with the printer once per rendering of the pages.
    using PaintPages = std::function<void(QPrinter*)>;

    // Modal message box; the answer is one of the ID... values of the style's buttons.
    int MessageBox(const std::string& text, unsigned style) override = 0;
    // Multi-select file-open dialog for existing files.
    virtual FileOpenResult GetOpenFileNames(const FileOpenRequest& request) = 0;
    // File-save dialog for one file, which asks before replacing an existing one; the result's
    // path has the extension of the chosen filter entry when the user typed none.
    virtual FileOpenResult GetSaveFileName(const FileOpenRequest& request) = 0;
    // The same dialog for an exported picture, offering its title line and legend too: frame
    // comes in as first shown and goes out as the user left it.
    virtual FileOpenResult GetSavePictureName(const FileOpenRequest& request, PictureFrameChoices& frame) = 0;
    // The print dialog for printer, offering pages minPage..maxPage; true when accepted.
    virtual bool PrintDialog(QPrinter& printer, int minPage, int maxPage) = 0;
    // The printer set-up dialog: printer, paper and orientation for later jobs; true when accepted.
    virtual bool PrintSetupDialog(QPrinter& printer) = 0;
    // Shows the preview of what paint draws on printer, until the user closes it.
    virtual void PrintPreview(QPrinter& printer, const PaintPages& paint) = 0;
    // Progress of a long job of total steps, called before each step with the steps done and the
    // next one's name; false once the user cancelled. EndProgress closes whatever was shown.
    virtual bool ShowProgress(int done, int total, const QString& stepName) = 0;
    virtual void EndProgress() = 0;

    // While several files load, the message boxes name the one they are about in their titles;
    // empty: the program's name alone.
    void SetMessageSubject(const QString& subject) { m_messageSubject = subject; }
    const QString& GetMessageSubject() const { return m_messageSubject; }

private:
    QString m_messageSubject;
};

// Qt's own dialogs, parented to the main window.
class QtPrompter : public Prompter {
public:
    QtPrompter();
    ~QtPrompter() override;

    int MessageBox(const std::string& text, unsigned style) override;
    FileOpenResult GetOpenFileNames(const FileOpenRequest& request) override;
    FileOpenResult GetSaveFileName(const FileOpenRequest& request) override;
    FileOpenResult GetSavePictureName(const FileOpenRequest& request, PictureFrameChoices& frame) override;
    bool PrintDialog(QPrinter& printer, int minPage, int maxPage) override;
    bool PrintSetupDialog(QPrinter& printer) override;
    void PrintPreview(QPrinter& printer, const PaintPages& paint) override;
    // Qt's progress dialog, once the job has taken about half a second: a short one shows nothing.
    bool ShowProgress(int done, int total, const QString& stepName) override;
    void EndProgress() override;

    static constexpr int kProgressDelayMs = 500;

private:
    static QWidget* DialogParent();

    std::unique_ptr<QProgressDialog> m_progress;
};

// The installed prompter; Qt's unless someone installed another.
Prompter& AfxGetPrompter();
// Installs prompter (not owned); null goes back to Qt's dialogs.
void AfxSetPrompter(Prompter* prompter);

// A message box through the prompter. Without an icon in the style, OK and Yes/No boxes get the
// exclamation mark, as the platform's framework gives them.
int AfxMessageBox(const QString& text, UINT style = MB_OK);
