#include "link/ini_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

CIniFile Loaded(const std::string& text) {
    CTempDir dir;
    WriteFileText(dir.File("p.ini"), text);
    CIniFile ini;
    EXPECT_TRUE(ini.Load(dir.File("p.ini")));
    return ini;
}

const char kText[] =
    "top=1\n"          // 1: before any header
    "; note\n"         // 2
    "[B]\n"            // 3
    "y = 2 ; why\n"    // 4
    "\n"               // 5
    "[ a ] ; first\n"  // 6
    "X=3\r\n"          // 7
    "stray line\n"     // 8
    "[b]\n"            // 9: B again
    "y=4\n"            // 10
    "= no key\n"       // 11
    "[open\n";         // 12

TEST(IniFileLinesTest, SectionsAndKeysComeInFileOrderWithTheirLines) {
    const CIniFile ini = Loaded(kText);
    EXPECT_EQ(ini.Sections(), (std::vector<CIniName>{{"B", 3}, {"a", 6}, {"b", 9}}));
    EXPECT_EQ(ini.Keys("b"), (std::vector<CIniName>{{"y", 4}, {"y", 10}}));
    EXPECT_EQ(ini.Keys("A"), (std::vector<CIniName>{{"X", 7}}));
    EXPECT_EQ(ini.Keys(""), (std::vector<CIniName>{{"top", 1}}));
    EXPECT_TRUE(ini.Keys("c").empty());
    // The line is the one GetString reads: the first of a repeated key.
    EXPECT_EQ(ini.KeyLine("B", "Y"), 4);
    EXPECT_EQ(ini.GetString("B", "y"), "2");
    EXPECT_EQ(ini.KeyLine("a", "x"), 7);
    EXPECT_EQ(ini.KeyLine("a", "y"), 0);
    EXPECT_EQ(ini.UnreadLines(), (std::vector<int>{8, 11, 12}));
}

TEST(IniFileLinesTest, LinesFollowTheTextAsSetChangesIt) {
    CIniFile ini = Loaded("[A]\nx=1\n\n[B]\ny=2\n");
    ini.SetInt("A", "z", 3);
    ini.SetInt("C", "w", 4);
    EXPECT_EQ(ini.Text(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=4\n");
    EXPECT_EQ(ini.Sections(), (std::vector<CIniName>{{"A", 1}, {"B", 5}, {"C", 8}}));
    EXPECT_EQ(ini.KeyLine("B", "y"), 6);
    EXPECT_EQ(ini.KeyLine("C", "w"), 9);
    EXPECT_TRUE(ini.UnreadLines().empty());
}

}  // namespace
