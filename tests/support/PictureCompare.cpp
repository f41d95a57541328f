#include "PictureCompare.h"

#include <QDir>

namespace picturetest {

::testing::AssertionResult MatchesExpectedPicture(const QImage& picture, const QString& expectedDir,
                                                  const QString& name) {
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    const QString expectedPath = QDir(expectedDir).filePath(name + ".png");
    if (qEnvironmentVariableIntValue("TARMIO_UPDATE_PICTURES") == 1) {
        if (!QDir().mkpath(expectedDir) || !actual.save(expectedPath))
            return ::testing::AssertionFailure() << "cannot write " << expectedPath.toStdString();
        return ::testing::AssertionSuccess();
    }
    const QImage expected = QImage(expectedPath).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull())
        return ::testing::AssertionFailure()
               << "no picture " << expectedPath.toStdString() << " (TARMIO_UPDATE_PICTURES=1 writes it)";
    if (expected == actual)
        return ::testing::AssertionSuccess();
    // Differing pixels in red over a faded copy of the expected picture; both are opaque.
    QImage difference = actual;
    int differing = 0;
    for (int y = 0; y < expected.height() && expected.size() == actual.size(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            const bool differs = want != actual.pixel(x, y);
            const int faded = 192 + qGray(want) / 4;
            differing += differs ? 1 : 0;
            difference.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(faded, faded, faded));
        }
    }
    const QDir out(QDir::current().absoluteFilePath("picture-failures"));
    out.mkpath(".");
    const QString files[] = {out.filePath(name + "-expected.png"), out.filePath(name + "-actual.png"),
                             out.filePath(name + "-difference.png")};
    expected.save(files[0]);
    actual.save(files[1]);
    difference.save(files[2]);
    return ::testing::AssertionFailure()
           << name.toStdString() << ": " << differing << " pixels differ, " << actual.width() << "x"
           << actual.height() << " against " << expected.width() << "x" << expected.height()
           << "\n  expected:   " << files[0].toStdString() << "\n  actual:     " << files[1].toStdString()
           << "\n  difference: " << files[2].toStdString();
}

} // namespace picturetest
