// Desktop entries: the autostart entry's place and program paths in Exec keys.

#include "DesktopEntry.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(DesktopEntry, ProgramPathIsQuotedAndEscapedForTheExecKey) {
    EXPECT_EQ(klt::DesktopExecArgument("/usr/bin/keyloft"), "\"/usr/bin/keyloft\"");
    EXPECT_EQ(klt::DesktopExecArgument("/home/ann/my apps/keyloft"), "\"/home/ann/my apps/keyloft\"");
    // '$', '`' and '"' get the command line's backslash, written as "\\" in the file; a backslash
    // becomes four; '%' is doubled so that it is no field code.
    EXPECT_EQ(klt::DesktopExecArgument("/a$b`c\"d"), R"("/a\\$b\\`c\\"d")");
    EXPECT_EQ(klt::DesktopExecArgument("/a\\b"), R"("/a\\\\b")");
    EXPECT_EQ(klt::DesktopExecArgument("/100%/keyloft"), "\"/100%%/keyloft\"");
}

TEST(DesktopEntry, AutostartEntryLivesInTheUsersConfigFolderUnderTheProductName) {
    setenv("XDG_CONFIG_HOME", "/tmp/klt-config-test", 1);
    EXPECT_EQ(klt::AutostartEntryPath("Keyloft"), "/tmp/klt-config-test/autostart/Keyloft.desktop");
    EXPECT_EQ(klt::AutostartEntryPath(""), "");
}
