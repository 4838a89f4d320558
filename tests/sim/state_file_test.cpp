// The switcher remembers its settings between runs in a .dat settings file.
#include <gtest/gtest.h>

#include "sim/virtual_switcher.h"
#include "tests/sim/switcher_lines.h"
#include "tests/support/file_tables.h"
#include "tests/support/temp_dir.h"

namespace {

class StateFileTest : public ::testing::Test {
protected:
    CTempDir dir;
    std::string path = dir.File("switcher.dat");
};

TEST_F(StateFileTest, SavedSettingsComeBackInANewSwitcher) {
    CVirtualSwitcher first({.nModel = 1});
    for (const std::string& body :
         {"AST10" + Repeat("07", 64), "TP33" + Repeat("A64", 32),
          "CA64" + std::string("2422") + Repeat("2121", 15), "CTO" + Repeat("F", 32),
          std::string("TSDD"), std::string("OTP33")}) {
        ASSERT_EQ(first.Answer(Crlf(body)), kGo) << body;
    }
    ASSERT_TRUE(first.SaveState(path));

    CVirtualSwitcher second({.nModel = 1});
    ASSERT_TRUE(second.LoadState(path));
    EXPECT_EQ(FileTables(second.State().m_tables), FileTables(first.State().m_tables));
    // The direct row and the recalled memory are not in the file.
    EXPECT_EQ(second.State().m_tables.m_nCurMemory, 0);
    EXPECT_EQ(second.Answer("ROT\r\n"), Crlf("OT" + IdentitySources()));
}

TEST_F(StateFileTest, TheSwitcherKeepsItsOwnModel) {
    CVirtualSwitcher small;
    ASSERT_TRUE(small.SaveState(path));
    CVirtualSwitcher large({.nModel = 1});
    ASSERT_TRUE(large.LoadState(path));
    EXPECT_EQ(large.State().m_tables.m_nModel, 1);
    EXPECT_EQ(large.Answer("RCTI\r\n"), Crlf("CTI" + Repeat("N", 64)));
}

TEST_F(StateFileTest, AFileThatDoesNotFitLeavesTheStateAlone) {
    CVirtualSwitcher large({.nModel = 1});
    ASSERT_EQ(large.Answer(Crlf("TP01" + Repeat("A64", 32))), kGo);  // code 127
    ASSERT_TRUE(large.SaveState(path));

    CVirtualSwitcher small;
    const CSwitcherState before = small.State();
    EXPECT_FALSE(small.LoadState(path));  // A64 of the 64-input model is beyond A64 here
    EXPECT_FALSE(small.LoadState(dir.File("missing.dat")));
    WriteFileText(path, "1\r\n7\r\n");
    EXPECT_FALSE(small.LoadState(path));
    EXPECT_EQ(small.State(), before);
}

}  // namespace
