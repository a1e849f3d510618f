// Program paths in the Exec keys of desktop entries.

#include "app/desktop/DesktopEntry.h"

#include <gtest/gtest.h>

TEST(DesktopEntry, ProgramPathIsQuotedAndEscapedForTheExecKey) {
    EXPECT_EQ(klt::DesktopExecArgument("/usr/bin/keyloft"), "\"/usr/bin/keyloft\"");
    EXPECT_EQ(klt::DesktopExecArgument("/home/ann/my apps/keyloft"), "\"/home/ann/my apps/keyloft\"");
    // '$', '`' and '"' get the command line's backslash, written as "\\" in the file; a backslash
    // becomes four; '%' is doubled so that it is no field code.
    EXPECT_EQ(klt::DesktopExecArgument("/a$b`c\"d"), R"("/a\\$b\\`c\\"d")");
    EXPECT_EQ(klt::DesktopExecArgument("/a\\b"), R"("/a\\\\b")");
    EXPECT_EQ(klt::DesktopExecArgument("/100%/keyloft"), "\"/100%%/keyloft\"");
    EXPECT_EQ(klt::DesktopExecArgument("/a\tb\rc\nd"), R"("/a\tb\rc\nd")");
}
