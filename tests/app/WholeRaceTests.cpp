#include "AppShellFixture.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "graph/TarmioView.h"

#include <QImage>
#include <QTest>

namespace {
// Whether any pixel of the image has exactly this colour.
bool Shows(const QImage& image, COLORREF colour) {
    const QRgb wanted = qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000) == wanted)
                return true;
        }
    }
    return false;
}
} // namespace

TEST_F(AppShell, DeletingEveryDriverStartsANewRaceInBothPanes) {
    Start({WriteRaceFile()});
    CListCtrl& list = DriverList().GetDriverList();
    ASSERT_EQ(list.GetItemCount(), 3);
    const QImage before = Graph().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(Shows(before, kPalette[0]));

    list.SetFocus();
    list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    QTest::keyClick(list.viewport(), Qt::Key_Delete);
    QCoreApplication::processEvents(); // the New that the last deletion posts

    ASSERT_NE(Document().GetRaceData(), nullptr);
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 0);
    EXPECT_EQ(Document().GetRaceData()->trackId, kNoTrackYet);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(Frame().windowTitle(), "Untitled - TarmioView");
    const QImage after = Graph().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int colour = 0; colour < 3; ++colour)
        EXPECT_FALSE(Shows(after, kPalette[colour])) << "curve of driver " << colour << " still drawn";
}
