#include "framework/CWinApp.h"

#include <gtest/gtest.h>

namespace {

// The tests' own settings live in a private folder (see the Qt test main). Whole-program tests
// cover the stored options; this guards what they cannot see: sections, signs, the full range.
TEST(Profile, ValuesOutliveTheApplicationObjectAndStayInTheirSection) {
    {
        CWinApp app("ProfileTest");
        app.SetRegistryKey("TarmioTests");
        for (int value : {-7, 2147483647}) {
            EXPECT_TRUE(app.WriteProfileInt("Settings", "GeneralOpts", value));
            EXPECT_EQ(app.GetProfileInt("Settings", "GeneralOpts", 3), value);
        }
    }
    CWinApp later("ProfileTest");
    later.SetRegistryKey("TarmioTests");
    EXPECT_EQ(later.GetProfileInt("Settings", "GeneralOpts", 3), 2147483647);
    EXPECT_EQ(later.GetProfileInt("Other", "GeneralOpts", 3), 3);
}

} // namespace
