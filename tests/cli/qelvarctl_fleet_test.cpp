// qelvarctl fleet over ten virtual switchers on four lines: an RS-485 bus of
// three on a pseudo-terminal, a bus of three behind ser2net's raw TCP port and
// one behind its RFC 2217 port (whose traces show every byte that reached the
// line), and one RS-232C switcher; plus a port that is not there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <regex>

#include "model/settings_file_format.h"
#include "model/settings_tables.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/file_tables.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_dir.h"

namespace {

struct CFleetMember {
    std::string strName;
    int nAddress;  // -1 RS-232C
    int nModel;
};

// A line and the switchers on it.
struct CFleetLine {
    std::vector<CFleetMember> members;
    std::unique_ptr<CSwitcherServer> server;
    std::unique_ptr<CSer2net> ser2net;
    std::string strPort;
};

// Settings of their own for each switcher, every table away from the defaults.
CSettingsTables TablesFor(int seed, int model) {
    CSettingsTables t = DefaultSettingsTables(model);
    const int n = 32 * (model + 1);
    for (int i = 0; i < n; ++i) t.m_nInTitleDisp[i] = (i + seed) % 2;
    for (int o = 0; o < kOutputs; ++o) t.m_nOutCalendarDisp[o] = (o + seed) % 3 == 0;
    for (int p = 0; p < kPatterns; ++p) {
        for (int c = 0; c < n; ++c) t.m_nSeqTime[p][c] = (p + c + seed) % 61;
    }
    for (int m = 0; m < kPatterns; ++m) {
        for (int o = 0; o < kOutputs; ++o) MemoryRows(t)[m][o] = (m * 7 + o + seed) % (n + 64);
    }
    t.m_strTitle[0] = "\x82\xa0\x82\xa2";  // あい
    // "ラック" and the seed in full-width digits
    t.m_strTitle[1] = "\x83\x89\x83\x62\x83\x4e";
    for (char digit : std::to_string(seed)) {
        t.m_strTitle[1] += {'\x82', static_cast<char>(0x4f + digit - '0')};
    }
    return t;
}

std::string Address(const CFleetMember& m) {
    return (m.nAddress < 10 ? "0" : "") + std::to_string(m.nAddress);
}

class QelvarctlFleetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1);
        ::mkdir(dir.File("sites").c_str(), 0755);
        AddLine({{"east 03", 3, 0}, {"east 05", 5, 1}, {"本館 07", 7, 0}}, kPty);
        AddLine({{"west 01", 1, 0}, {"west 02", 2, 0}, {"west 04", 4, 0}}, kRaw);
        AddLine({{"north 10", 10, 0}, {"north 11", 11, 1}, {"north 12", 12, 0}}, kTelnet);
        AddLine({{"lobby", -1, 0}}, kPty, lobbyFaults);
    }

    enum Reach { kPty, kRaw, kTelnet };

    void AddLine(std::vector<CFleetMember> members, Reach reach, CFaultOptions faults = {}) {
        CFleetLine line;
        line.members = std::move(members);
        const auto& first = line.members.front();
        line.server = std::make_unique<CSwitcherServer>(
            CSwitcherOptions{first.nModel, first.nAddress >= 0, std::max(first.nAddress, 0)},
            faults);
        for (size_t i = 1; i < line.members.size(); ++i) {
            line.server->AddSwitcher({line.members[i].nModel, true, line.members[i].nAddress});
        }
        ASSERT_TRUE(line.server->Start()) << line.server->Error();
        line.strPort = line.server->DevicePath();
        if (reach != kPty) {
            line.ser2net = std::make_unique<CSer2net>(line.server->DevicePath());
            line.strPort = reach == kRaw ? line.ser2net->RawPort() : line.ser2net->Rfc2217Port();
        }
        lines.push_back(std::move(line));
    }

    std::string FileOf(const CFleetMember& m) const {
        return dir.File("sites/" + m.strName + ".dat");
    }

    // The inventory of every switcher, each with a settings file of its own.
    void WriteInventory(const std::string& more = "") {
        std::string text = "; the building\n";
        int seed = 0;
        for (const auto& line : lines) {
            for (const auto& m : line.members) {
                WriteFileText(FileOf(m), FormatSettingsFile(TablesFor(++seed, m.nModel)));
                text += "[" + m.strName + "]\nport = " + line.strPort + "\n";
                if (m.nAddress >= 0) text += "address = " + Address(m) + "\n";
                text += "model = " + std::string(m.nModel ? "64" : "32") + "\n";
                text += "file = sites/" + m.strName + ".dat\n\n";
            }
        }
        WriteFileText(inventory, text + more);
    }

    CProcessResult Fleet(std::vector<std::string> args) {
        args.insert(args.begin(), {"fleet", inventory});
        return RunProcess(QELVARCTL_PATH, args, 300000);
    }

    // What send --dry-run puts on the wire for the switcher.
    std::string DryRun(const CFleetMember& m) {
        std::vector<std::string> args = {"--port", "/dev/null"};
        if (m.nAddress >= 0) args.insert(args.end(), {"--rs485", Address(m)});
        args.insert(args.end(), {"send", FileOf(m), "--dry-run"});
        const auto run = RunProcess(QELVARCTL_PATH, args);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }

    CTempDir dir;
    std::string inventory = dir.File("fleet.ini");
    CFaultOptions lobbyFaults;
    std::vector<CFleetLine> lines;
};

// The report's row of a switcher, from the table on stdout.
std::string RowOf(const std::string& out, const std::string& name) {
    std::smatch match;
    const std::regex row("(^|\n)(" + name + " [^\n]*)");
    return std::regex_search(out, match, row) ? match[2].str() : "";
}

TEST_F(QelvarctlFleetTest, SendVerifyReachesEverySwitcherByteExactAndReportsEach) {
    WriteInventory();
    const auto run =
        Fleet({"send", "--verify", "--json", dir.File("r.json"), "--junit", dir.File("r.xml")});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    int seed = 0;
    for (const auto& line : lines) {
        for (size_t i = 0; i < line.members.size(); ++i) {
            const auto& m = line.members[i];
            EXPECT_EQ(FileTables(line.server->State(static_cast<int>(i)).m_tables),
                      FileTables(TablesFor(++seed, m.nModel)))
                << m.strName;
            EXPECT_NE(RowOf(run.out, m.strName).find(" ok "), std::string::npos) << run.out;
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
    const std::string json = ReadFileText(dir.File("r.json"));
    EXPECT_NE(json.find("\"ok\": true"), std::string::npos) << json;
    const std::string junit = ReadFileText(dir.File("r.xml"));
    EXPECT_NE(junit.find("tests=\"10\""), std::string::npos) << junit;
    EXPECT_NE(junit.find("failures=\"0\" errors=\"0\""), std::string::npos) << junit;
}

}  // namespace
