#pragma once

#include "ScriptedPrompt.h"
#include "framework/Prompter.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <vector>

// The scripted prompt with the program's dialogs, installed as the prompter for its lifetime.
// Every question is recorded; a file dialog or print dialog whose queue is used up is cancelled.
class ScriptedPrompter : public Prompter, public ScriptedPrompt {
public:
    ScriptedPrompter() { AfxSetPrompter(this); }
    ~ScriptedPrompter() override { AfxSetPrompter(nullptr); }
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    int MessageBox(const std::string& text, unsigned style) override {
        messageSubjects << GetMessageSubject();
        return ScriptedPrompt::MessageBox(text, style);
    }
    FileOpenResult GetOpenFileNames(const FileOpenRequest& request) override;
    FileOpenResult GetSaveFileName(const FileOpenRequest& request) override;
    // Records the frame offered and answers with the next of pictureFrameAnswers, if any.
    FileOpenResult GetSavePictureName(const FileOpenRequest& request, PictureFrameChoices& frame) override;
    bool PrintDialog(QPrinter& printer, int minPage, int maxPage) override;
    bool PrintSetupDialog(QPrinter&) override { return false; }
    // Renders once, into a PDF in a private folder.
    void PrintPreview(QPrinter& printer, const PaintPages& paint) override;
    // Records each step; cancels before step cancelProgressAt when it is set.
    bool ShowProgress(int done, int total, const QString& stepName) override;
    void EndProgress() override { ++progressEnds; }

    std::deque<FileOpenResult> fileOpenAnswers;
    std::deque<FileOpenResult> fileSaveAnswers;
    std::deque<bool> printDialogAnswers;
    std::deque<PictureFrameChoices> pictureFrameAnswers;
    std::vector<PictureFrameChoices> pictureFramesOffered;
    QString printOutputPath; // an accepted print dialog sends the job to this PDF

    std::vector<FileOpenRequest> fileOpenRequests;
    std::vector<FileOpenRequest> fileSaveRequests;
    int printDialogs = 0;
    int previews = 0;
    int cancelProgressAt = -1;
    QStringList progressSteps;   // "done/total name"
    QStringList messageSubjects; // the subject each message box had
    int progressEnds = 0;
    QString lastPreviewPdf;

private:
    QTemporaryDir m_previewFolder;
};
