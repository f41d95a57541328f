#include "AppShellFixture.h"
#include "graph/TarmioView.h"

#include <QSettings>
#include <QTest>

namespace {
int StoredGraphSetting(const char* entry) {
    return QSettings("VAZ", "TarmioView").value(QString("Settings/") + entry, -1).toInt();
}
} // namespace

TEST_F(AppShell, GraphTogglesAreStoredAtExitAndReadAtTheNextStart) {
    Start();
    Graph().setFocus();
    QTest::keyClick(&Graph(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&Graph(), Qt::Key_M, Qt::ControlModifier);
    ASSERT_FALSE(Graph().IsRelative());
    ASSERT_FALSE(Graph().IsMirrored());
    EXPECT_EQ(StoredGraphSetting("GraphRelative"), -1) << "written only when the view goes";
    Exit();
    EXPECT_EQ(StoredGraphSetting("GraphRelative"), 0);
    EXPECT_EQ(StoredGraphSetting("GraphMirrored"), 0);

    Start();
    EXPECT_FALSE(Graph().IsRelative());
    EXPECT_FALSE(Graph().IsMirrored());
}

TEST_F(AppShell, GraphToggleRevertsToTheStoredValueAtTheNextNew) {
    QSettings("VAZ", "TarmioView").setValue("Settings/GraphMirrored", 1);
    Start();
    Graph().setFocus();
    QTest::keyClick(&Graph(), Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(&Graph(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_FALSE(Graph().IsMirrored());
    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_TRUE(Graph().IsMirrored());
    // Nothing stored: the toggled value is its own default and survives the New.
    EXPECT_FALSE(Graph().IsRelative());
}
