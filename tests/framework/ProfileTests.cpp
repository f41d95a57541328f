#include "framework/CWinApp.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

// The tests' own settings live in a private folder (see the Qt test main). Whole-program tests
// cover the stored options; this guards what they cannot see: sections, signs, the full range,
// and numbers of more than 32 bits in a settings file anyone can edit.
TEST(Profile, ValuesOutliveTheApplicationAndOnly32BitNumbersAreRead) {
    {
        CWinApp app("ProfileTest");
        app.SetRegistryKey("TarmioTests");
        for (int value : {-7, 2147483647}) {
            EXPECT_TRUE(app.WriteProfileInt("Settings", "GeneralOpts", value));
            EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), value);
        }
    }
    CWinApp app("ProfileTest");
    app.SetRegistryKey("TarmioTests");
    EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), 2147483647);
    EXPECT_EQ(app.GetProfileInt("Other", "GeneralOpts", 3), 3);
    for (const char* stored :
         {"1099511627776", "2147483648", "-2147483649", "99999999999999999999999", "3x"}) {
        QSettings(app.m_pszRegistryKey, app.m_pszAppName).setValue("Settings/GeneralOpts", QString(stored));
        EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), 3) << stored;
    }
    QSettings(app.m_pszRegistryKey, app.m_pszAppName)
        .setValue("Settings/GeneralOpts", QString("-2147483648"));
    EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), -2147483647 - 1);
}

} // namespace
