#include "framework/CWinApp.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

// The tests' own settings live in a private folder (see the Qt test main).
struct Profile : ::testing::Test {
    CWinApp app{"ProfileTest"};
    Profile() { app.SetRegistryKey("TarmioTests"); }
};

TEST_F(Profile, WrittenValueIsReadBackAndOverwritten) {
    for (int value : {0, 1, -7, 2147483647}) {
        EXPECT_TRUE(app.WriteProfileInt("Settings", "GeneralOpts", value));
        EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), value);
    }
}

TEST_F(Profile, ValuesOutliveTheApplicationObjectAndStayInTheirSection) {
    app.WriteProfileInt("Settings", "GraphRelative", 1);
    CWinApp later("ProfileTest");
    later.SetRegistryKey("TarmioTests");
    EXPECT_EQ(later.GetProfileInt("Settings", "GraphRelative", 0), 1);
    EXPECT_EQ(later.GetProfileInt("Other", "GraphRelative", 0), 0);
}

TEST_F(Profile, MissingEntryOrTextWhereANumberBelongsGivesTheDefault) {
    EXPECT_EQ(app.GetProfileInt("Settings", "NeverWritten", 3), 3);
    QSettings("TarmioTests", "ProfileTest").setValue("Settings/Garbled", "not a number");
    EXPECT_EQ(app.GetProfileInt("Settings", "Garbled", 3), 3);
}

} // namespace
