// qelvarctl fleet over ten virtual switchers on four lines: an RS-485 bus of
// three on a pseudo-terminal, a bus of three behind ser2net's raw TCP port and
// one behind its RFC 2217 port (whose traces show every byte that reached the
// line), and one RS-232C switcher; and a port that is not there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <regex>

#include "model/settings_file_format.h"
#include "tests/cli/run_process.h"
#include "tests/support/file_tables.h"
#include "tests/support/fleet_lines.h"
#include "tests/support/temp_dir.h"

namespace {

class QelvarctlFleetTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1); }

    // The ten; the RS-232C switcher's line with faults of its own.
    void StartFleet(CFaultOptions lobbyFaults = {}) {
        ASSERT_TRUE(
            fleet.Add({{"east 03", 3, 0}, {"east 05", 5, 1}, {"本館 07", 7, 0}}, FleetReach::kPty));
        ASSERT_TRUE(
            fleet.Add({{"west 01", 1, 0}, {"west 02", 2, 0}, {"west 04", 4, 0}}, FleetReach::kRaw));
        ASSERT_TRUE(fleet.Add({{"north 10", 10, 0}, {"north 11", 11, 1}, {"north 12", 12, 0}},
                              FleetReach::kTelnet));
        ASSERT_TRUE(fleet.Add({{"lobby", -1, 0}}, FleetReach::kPty, lobbyFaults));
    }

    void WriteInventory(const std::string& more = "") {
        WriteFileText(inventory, fleet.WriteInventory(dir.Path()) + more);
    }

    CProcessResult Fleet(std::vector<std::string> args) {
        args.insert(args.begin(), {"fleet", inventory});
        return RunProcess(QELVARCTL_PATH, args, 300000);
    }

    // What send --dry-run puts on the wire for the switcher.
    std::string DryRun(const CFleetMember& m) {
        std::vector<std::string> args = {"--port", "/dev/null"};
        if (m.nAddress >= 0) args.insert(args.end(), {"--rs485", AddressText(m)});
        args.insert(args.end(), {"send", CFleetLines::FileOf(dir.Path(), m), "--dry-run"});
        const auto run = RunProcess(QELVARCTL_PATH, args);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }

    int LinesReceived() const {
        int n = 0;
        for (const auto& line : fleet.lines) n += line.server->LinesReceived();
        return n;
    }

    CTempDir dir;
    std::string inventory = dir.File("fleet.ini");
    CFleetLines fleet;
};

// The report's row of a switcher, from the table on stdout.
std::string RowOf(const std::string& out, const std::string& name) {
    std::smatch match;
    const std::regex row("(^|\n)(" + name + "  [^\n]*)");
    return std::regex_search(out, match, row) ? match[2].str() : "";
}

bool RowSays(const std::string& out, const std::string& name, const std::string& result) {
    return RowOf(out, name).find("  " + result + "  ") != std::string::npos;
}

TEST_F(QelvarctlFleetTest, SendVerifyReachesEverySwitcherByteExactAndReportsEach) {
    StartFleet();
    WriteInventory();
    const auto run =
        Fleet({"send", "--verify", "--json", dir.File("r.json"), "--junit", dir.File("r.xml")});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    int seed = 0;
    for (const auto& line : fleet.lines) {
        for (size_t i = 0; i < line.members.size(); ++i) {
            const auto& m = line.members[i];
            EXPECT_EQ(FileTables(line.server->State(static_cast<int>(i)).m_tables),
                      FileTables(FleetTables(++seed, m.nModel)))
                << m.strName;
            EXPECT_TRUE(RowSays(run.out, m.strName, "ok")) << run.out;
        }
        if (!line.ser2net) continue;
        // Each switcher's transmission reached the line whole and unbroken, in
        // the inventory's order.
        const std::string wire = line.ser2net->WrittenToDevice();
        size_t at = 0;
        for (const auto& m : line.members) {
            const std::string sent = DryRun(m);
            const size_t found = wire.find(sent, at);
            ASSERT_NE(found, std::string::npos) << m.strName;
            at = found + sent.size();
        }
    }
    EXPECT_NE(run.out.find("10 switchers: 10 ok"), std::string::npos) << run.out;
    const std::string json = ReadFileText(dir.File("r.json"));
    EXPECT_NE(json.find("\"ok\": true"), std::string::npos) << json;
    const std::string junit = ReadFileText(dir.File("r.xml"));
    EXPECT_NE(junit.find("tests=\"10\" failures=\"0\" errors=\"0\""), std::string::npos) << junit;
}

TEST_F(QelvarctlFleetTest, ALostLineDiffersAnAbsentPortIsAbsentAndTheOthersGoOn) {
    CFaultOptions drop;
    drop.nDropAtLine = 135;  // CA01, the first title, after the model question
    StartFleet(drop);
    WriteInventory("[ghost]\nport = " + dir.File("ttyGONE") + "\nfile = sites/lobby.dat\n");
    const auto run = Fleet({"send", "--verify", "--junit", dir.File("r.xml")});
    EXPECT_EQ(run.status, 6) << run.out << run.err;  // the highest: differs (6) over absent (2)
    EXPECT_TRUE(RowSays(run.out, "lobby", "differs")) << run.out;
    EXPECT_NE(RowOf(run.out, "lobby").find("title of input 01"), std::string::npos) << run.out;
    EXPECT_TRUE(RowSays(run.out, "ghost", "absent")) << run.out;
    for (const auto& name : {"east 03", "east 05", "本館 07", "west 01", "west 02", "west 04",
                             "north 10", "north 11", "north 12"}) {
        EXPECT_TRUE(RowSays(run.out, name, "ok")) << name << "\n" << run.out;
    }
    const std::string junit = ReadFileText(dir.File("r.xml"));
    EXPECT_NE(junit.find("tests=\"11\" failures=\"1\" errors=\"1\""), std::string::npos) << junit;
}

TEST_F(QelvarctlFleetTest, BackupTwiceChangesNoFileAndAChangedSwitcherOnlyItsOwn) {
    StartFleet();
    WriteInventory();
    const std::string backups = dir.File("backups");
    ASSERT_EQ(Fleet({"backup", backups}).status, 0);
    struct stat before[10];
    int k = 0;
    for (const auto& line : fleet.lines) {
        for (const auto& m : line.members) {
            ASSERT_EQ(::stat((backups + "/" + m.strName + ".dat").c_str(), &before[k++]), 0);
        }
    }
    // The second file of the bus behind ser2net: what the switcher holds.
    const std::string west02 = backups + "/west 02.dat";
    EXPECT_EQ(ReadFileText(west02),
              FormatSettingsFile(FileTables(fleet.lines[1].server->State(1).m_tables)));

    auto run = Fleet({"backup", backups});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(RowOf(run.out, "west 02").find("unchanged"), std::string::npos) << run.out;

    CSwitcherState changed = fleet.lines[1].server->State(1);
    changed.m_tables.m_nSeqTime[0][0] = 42;
    fleet.lines[1].server->SetState(changed, 1);
    run = Fleet({"backup", backups});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    k = 0;
    for (const auto& line : fleet.lines) {
        for (const auto& m : line.members) {
            struct stat after {};
            ASSERT_EQ(::stat((backups + "/" + m.strName + ".dat").c_str(), &after), 0);
            const bool same = after.st_ino == before[k].st_ino &&
                              after.st_mtim.tv_nsec == before[k].st_mtim.tv_nsec &&
                              after.st_mtim.tv_sec == before[k].st_mtim.tv_sec;
            EXPECT_EQ(same, m.strName != "west 02") << m.strName;
            ++k;
        }
    }
    EXPECT_EQ(ReadFileText(west02), FormatSettingsFile(FileTables(changed.m_tables)));
    // Nothing of the read-backs stays beside the backups.
    int entries = 0;
    for (const auto& line : fleet.lines) entries += static_cast<int>(line.members.size());
    const auto listing = RunProcess("/bin/ls", {"-A", backups});
    EXPECT_EQ(std::count(listing.out.begin(), listing.out.end(), '\n'), entries) << listing.out;
}

TEST_F(QelvarctlFleetTest, InventoryFaultsAreToldWithTheirLinesAndNothingIsSent) {
    StartFleet();
    const std::string base = fleet.WriteInventory(dir.Path());
    const int at = static_cast<int>(std::count(base.begin(), base.end(), '\n'));
    WriteFileText(inventory,
                  base + "[twin]\nport = " + fleet.lines[0].strPort +
                      "\naddress = 05\nfile = sites/lobby.dat\n"
                      "[bad port]\nport = rfc2217://\nadress = 03\nfile = sites/none.dat\n");
    const auto run = Fleet({"send"});
    EXPECT_EQ(run.status, 1);
    // The twin's header, then the bad port's port, key and file lines.
    for (int line : {at + 1, at + 6, at + 7, at + 8}) {
        const std::string where = inventory + ":" + std::to_string(line) + ":";
        EXPECT_NE(run.err.find(where), std::string::npos) << where << "\n" << run.err;
    }
    EXPECT_NE(run.err.find("nothing was run"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(LinesReceived(), 0);
}

TEST_F(QelvarctlFleetTest, CheckTellsWhoAnswersWithWhichModelAndWhereTheInventoryDiffers) {
    StartFleet();
    WriteInventory();
    // The inventory says 64 of a 32-input switcher.
    std::string text = ReadFileText(inventory);
    const size_t west = text.find("[west 04]");
    text.replace(text.find("model = 32", west), 10, "model = 64");
    WriteFileText(inventory, text);
    const auto run = Fleet({"check", "--only", "west 04", "--only", "north 11", "--only", "lobby",
                            "--jobs", "1", "--json", dir.File("r.json")});
    EXPECT_EQ(run.status, 6) << run.out << run.err;
    EXPECT_TRUE(RowSays(run.out, "west 04", "model differs")) << run.out;
    EXPECT_NE(RowOf(run.out, "west 04").find("answers Qelvar-32"), std::string::npos) << run.out;
    EXPECT_TRUE(RowSays(run.out, "north 11", "ok")) << run.out;
    EXPECT_NE(RowOf(run.out, "north 11").find("answers Qelvar-64"), std::string::npos) << run.out;
    EXPECT_TRUE(RowSays(run.out, "lobby", "ok")) << run.out;
    EXPECT_EQ(RowOf(run.out, "east 03"), "");  // not chosen
    const std::string json = ReadFileText(dir.File("r.json"));
    EXPECT_NE(json.find("\"answered_model\": \"Qelvar-64\""), std::string::npos) << json;
}

TEST_F(QelvarctlFleetTest, SigtermStopsTheFleetWithTheStatusOfTheSignal) {
    CFaultOptions silent;
    silent.bSilent = true;
    ASSERT_TRUE(fleet.Add({{"mute", -1, 0}}, FleetReach::kPty, silent));
    ASSERT_TRUE(fleet.Add({{"after", 4, 0}, {"later", 5, 0}}, FleetReach::kPty, silent));
    WriteInventory();
    CRunningProcess run(QELVARCTL_PATH, {"fleet", inventory, "send", "--jobs", "1"});
    EXPECT_EQ(run.FirstLine(), "mute: connecting");
    EXPECT_EQ(run.Stop(), 128 + SIGTERM);
}

}  // namespace
