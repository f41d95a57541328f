#include "ScriptedPrompter.h"

#include <QPrinter>

namespace {
template <class Answer> Answer NextAnswer(std::deque<Answer>& answers, Answer whenUsedUp) {
    if (answers.empty())
        return whenUsedUp;
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}
} // namespace

FileOpenResult ScriptedPrompter::GetOpenFileNames(const FileOpenRequest& request) {
    fileOpenRequests.push_back(request);
    return NextAnswer(fileOpenAnswers, FileOpenResult{});
}

FileOpenResult ScriptedPrompter::GetSaveFileName(const FileOpenRequest& request) {
    fileSaveRequests.push_back(request);
    return NextAnswer(fileSaveAnswers, FileOpenResult{});
}

FileOpenResult ScriptedPrompter::GetSavePictureName(const FileOpenRequest& request,
                                                    PictureFrameChoices& frame) {
    pictureFramesOffered.push_back(frame);
    if (!pictureFrameAnswers.empty()) {
        frame = pictureFrameAnswers.front();
        pictureFrameAnswers.pop_front();
    }
    return GetSaveFileName(request);
}

bool ScriptedPrompter::PrintDialog(QPrinter& printer, int, int) {
    ++printDialogs;
    const bool accepted = NextAnswer(printDialogAnswers, false);
    if (accepted && !printOutputPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printOutputPath);
    }
    return accepted;
}

void ScriptedPrompter::PrintPreview(QPrinter& printer, const PaintPages& paint) {
    ++previews;
    lastPreviewPdf = m_previewFolder.filePath(QStringLiteral("preview-%1.pdf").arg(previews));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(lastPreviewPdf);
    paint(&printer);
}

bool ScriptedPrompter::ShowProgress(int done, int total, const QString& stepName) {
    progressSteps.append(QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(stepName));
    return done != cancelProgressAt;
}
