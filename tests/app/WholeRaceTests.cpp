#include "AppShellFixture.h"
#include "data/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "graph/TarmioView.h"
#include "listctrl/TreeListCtrl.h"

#include <QImage>
#include <QMouseEvent>
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

TEST_F(AppShell, DeletingSomeDriversRedrawsTheGraphWithoutThem) {
    Start({WriteRaceFile()});
    CListCtrl& list = DriverList().GetDriverList();
    ASSERT_EQ(list.GetItemCount(), 3);
    // Race order: the first row is the fastest car, which got the first palette colour.
    list.SetFocus();
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    QTest::keyClick(list.viewport(), Qt::Key_Delete, Qt::ShiftModifier);
    QCoreApplication::processEvents();

    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 2);
    EXPECT_EQ(list.GetItemCount(), 2);
    const QImage after = Graph().grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_FALSE(Shows(after, kPalette[0]));
    EXPECT_TRUE(Shows(after, kPalette[1]));
}

TEST_F(AppShell, TheListAndTheChartReadEachOther) {
    Start({WriteRaceFile()});
    CTreeListCtrl& list = DriverList().GetDriverList();
    list.SetFocus();
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Document().GetSelectedDrivers(), std::vector<int>{1});
    Frame().SendCommand(ID_VIEW_GAPTODRIVER); // Ctrl+G with the list active
    EXPECT_EQ(Graph().GetReferenceDriver(), 1);
    const QString caption = Frame().GetMessageText();
    EXPECT_TRUE(caption.startsWith("Gap to ")) << caption.toStdString();

    // Pointing at a curve marks its row and leaves the selection alone.
    const CPoint point = *Graph().LapPoint(2, 3);
    QMouseEvent move(QEvent::MouseMove, QPointF(point.x, point.y),
                     Graph().mapToGlobal(QPointF(point.x, point.y)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&Graph(), &move);
    EXPECT_EQ(list.GetMarkedItem(), 2);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetSelectedCount(), 1u);

    // Cut takes the selected driver, the reference with it: the designed reference is back.
    Frame().SetActiveView(&DriverList());
    Frame().SendCommand(ID_EDIT_CUT);
    EXPECT_EQ(Document().GetRaceData()->drivers->GetCount(), 2);
    EXPECT_EQ(Graph().GetReferenceDriver(), -1);
    EXPECT_EQ(Frame().GetMessageText(), "Ready");
    EXPECT_TRUE(Document().GetSelectedDrivers().empty());
}
