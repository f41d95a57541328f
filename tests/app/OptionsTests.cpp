#include "AppShellFixture.h"

#include <QAction>
#include <QSettings>

namespace {
int StoredOptions() {
    return QSettings("VAZ", "TarmioView").value("Settings/GeneralOpts", -1).toInt();
}
} // namespace

TEST_F(AppShell, FirstRunChecksBothOptionsAndAnUncheckedAutoZoomIsStoredAtExit) {
    Start();
    EXPECT_EQ(app->m_nOptions, 3);
    EXPECT_TRUE(Checked(ID_OPTIONS_FLICKERFREE));
    EXPECT_TRUE(Checked(ID_OPTIONS_AUTOZOOM));
    Action(ID_OPTIONS_AUTOZOOM)->trigger();
    EXPECT_FALSE(Checked(ID_OPTIONS_AUTOZOOM));
    EXPECT_EQ(StoredOptions(), -1) << "written once, at exit";
    Exit();
    EXPECT_EQ(StoredOptions(), 1);

    Start();
    EXPECT_EQ(app->m_nOptions, 1);
    EXPECT_FALSE(Checked(ID_OPTIONS_AUTOZOOM));
    EXPECT_TRUE(Checked(ID_OPTIONS_FLICKERFREE));
}

TEST_F(AppShell, OptionTogglesChangeOnlyTheirOwnBit) {
    QSettings("VAZ", "TarmioView").setValue("Settings/GeneralOpts", 7);
    Start();
    struct Step {
        UINT command;
        int options;
        bool flickerFree;
        bool autoZoom;
    };
    const Step steps[] = {
        {ID_OPTIONS_FLICKERFREE, 6, false, true}, {ID_OPTIONS_AUTOZOOM, 4, false, false},
        {ID_OPTIONS_FLICKERFREE, 5, true, false}, {ID_OPTIONS_AUTOZOOM, 7, true, true},
        {ID_OPTIONS_AUTOZOOM, 5, true, false},
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(Frame().SendCommand(step.command));
        EXPECT_EQ(app->m_nOptions, step.options);
        EXPECT_EQ(Checked(ID_OPTIONS_FLICKERFREE), step.flickerFree);
        EXPECT_EQ(Checked(ID_OPTIONS_AUTOZOOM), step.autoZoom);
    }
    Exit();
    EXPECT_EQ(StoredOptions(), 5);
}

TEST_F(AppShell, UnreadableStoredOptionsLeaveTheDefault) {
    QSettings("VAZ", "TarmioView").setValue("Settings/GeneralOpts", "not a number");
    Start();
    EXPECT_EQ(app->m_nOptions, 3);
}
