// Files dropped on the frame.
#include "framework/CFrameWnd.h"
#include "framework/FileNames.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

void CFrameWnd::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CFrameWnd::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // toLocalFile() would turn bytes that are not UTF-8 into U+FFFD: decode them as a name.
        if (url.isLocalFile())
            paths.append(
                DecodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())));
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    OnDropFiles(paths);
}
