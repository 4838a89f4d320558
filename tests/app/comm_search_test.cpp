// 通信の設定 beyond its two lists: the device each COM port opens, and the
// search of the bus ("検索") on the virtual switcher and on a port of its own.
#include <QLabel>
#include <QLineEdit>
#include <chrono>
#include <filesystem>

#include "app/bus_search.h"
#include "app/comm_dialogs.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/link_dialogs.h"
#include "sim/switcher_server.h"
#include "tests/app/app_fixture.h"
#include "tests/support/ser2net_server.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const std::vector<CSwitcherOptions> kBus = {{.nModel = 0, .bRs485 = true, .nAddress = 3},
                                            {.nModel = 1, .bRs485 = true, .nAddress = 17}};

QString DeviceText(QDialog& dlg) {
    return FindControl<QComboBox>(dlg, IDC_PORT_DEVICE)->currentText();
}
QString DeviceInfo(QDialog& dlg) {
    return FindControl<QLabel>(dlg, IDC_PORT_DEVICE_INFO)->text();
}
// Types into the device field as a user does.
void TypeDevice(QDialog& dlg, const QString& text) {
    QLineEdit* edit = FindControl<QComboBox>(dlg, IDC_PORT_DEVICE)->lineEdit();
    edit->selectAll();
    edit->insert(text);
}
QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

class CommSearchTest : public AppTest {
protected:
    std::vector<RecordedBox> SendAndWait(const std::string& line) {
        sink.boxes.clear();
        SendCommand(line);
        ProcessUntil([&] { return !sink.boxes.empty(); });
        return sink.boxes;
    }
    // Clicks 検索 and runs the event loop until the search is over; the
    // status texts shown meanwhile are collected.
    std::chrono::milliseconds SearchAndWait(QDialog& dlg, QStringList& statuses) {
        auto& search = static_cast<CCommSettingsDlg&>(dlg).Search();
        auto* status = FindControl<QLabel>(dlg, IDC_BUS_STATUS);
        auto* button = FindControl<QPushButton>(dlg, IDC_BUS_SEARCH);
        const auto start = Clock::now();
        Click(dlg, IDC_BUS_SEARCH);
        EXPECT_EQ(button->text(), "中止");
        EXPECT_FALSE(FindControl<QComboBox>(dlg, IDC_INTERFACE)->isEnabled());
        EXPECT_TRUE(ProcessUntil(
            [&] {
                if (statuses.isEmpty() || statuses.back() != status->text()) {
                    statuses << status->text();
                }
                return !search.Running();
            },
            6000));
        EXPECT_EQ(button->text(), "検索");
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }
};

TEST_F(CommSearchTest, ShowsEachPortsDeviceAndOkWritesWhatWasTyped) {
    WriteProfile("com_port=1", "/dev/ttyS0");
    WriteFileText(profile, ReadFileText(profile) + "COM2=/dev/qelvar-none\n");
    const std::string before = ReadFileText(profile);
    Link().SetCommPortOverride(pty.SlavePath());
    MakeFrame();
    WhenModal([&](QDialog& dlg) {
        TypeDevice(dlg, "/dev/ttyUSB7");
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(ReadFileText(profile), before);

    bool stayedOpen = false;
    WhenModal([&](QDialog& dlg) {
        EXPECT_EQ(DeviceText(dlg), "/dev/qelvar-none");
        EXPECT_EQ(DeviceInfo(dlg), "見つかりません");
        Choose(dlg, IDC_COM_PORT, 0);
        EXPECT_EQ(DeviceText(dlg), "/dev/ttyS0");
        Choose(dlg, IDC_COM_PORT, 4);
        TypeDevice(dlg, "tcp://rack-ts:4001");
        EXPECT_EQ(DeviceInfo(dlg), "ネットワーク (TCP)");
        Choose(dlg, IDC_COM_PORT, 1);
        TypeDevice(dlg, "COM2");
        EXPECT_EQ(DeviceInfo(dlg),
                  "デバイスのパスか tcp:// / rfc2217:// のアドレスを入力してください");
        Click(dlg, IDOK);  // refused with a warning
        stayedOpen = dlg.isVisible();
        TypeDevice(dlg, "rfc2217://10.0.0.5:950");
        EXPECT_EQ(DeviceInfo(dlg), "ネットワーク (RFC 2217)");
        Choose(dlg, IDC_COM_PORT, 4);
        EXPECT_EQ(DeviceText(dlg), "tcp://rack-ts:4001");  // each port keeps its own
        Choose(dlg, IDC_COM_PORT, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].kind, BoxKind::kWarning);
    EXPECT_NE(sink.boxes[0].text.find("COM2 の接続先が正しくありません: COM2"), std::string::npos);
    EXPECT_EQ(g_nComPort, 1);
    EXPECT_EQ(ReadFileText(profile),
              "[Qelvar-32_Section]\ncom_port=1\nrs_control=0\n[Ports]\nCOM1=/dev/ttyS0\n"
              "COM2=rfc2217://10.0.0.5:950\nCOM5=tcp://rack-ts:4001\n");
}

// The bus of two virtual switchers: the search keeps the window live, shows
// its progress, lists both with their models, and OK takes the one picked;
// nothing is written to the profile.
TEST_F(CommSearchTest, SearchOnTheSimulatorFindsBothSwitchersAndOkTakesThePick) {
    CStartOptions options;
    options.bSimulator = true;
    options.simBus = kBus;
    MakeFrame(options);
    ASSERT_EQ(g_bRs485, 1);
    g_nTitlePosition.fill(0);
    g_nSlaveAddress = 17;
    QStringList statuses;
    QStringList found;
    std::chrono::milliseconds took{};
    WhenModal([&](QDialog& dlg) {
        EXPECT_EQ(DeviceInfo(dlg), "シミュレータで動作中のため保存されません");
        TypeDevice(dlg, "tcp://10.0.0.5:4001");  // not written: the profile is the hardware's
        took = SearchAndWait(dlg, statuses);
        auto* list = FindControl<QComboBox>(dlg, IDC_BUS_FOUND);
        found = Items(list);
        EXPECT_TRUE(list->isEnabled());
        EXPECT_EQ(list->currentIndex(), 1);  // the switcher the program talks to now
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(found, QStringList({"03  Qelvar-32", "17  Qelvar-64"}));
    EXPECT_EQ(statuses.front(), "検索中 0/32");
    EXPECT_TRUE(statuses.contains("検索中 16/32")) << statuses.join("|").toStdString();
    EXPECT_EQ(statuses.back(), "2 台見つかりました");
    EXPECT_LT(took, 5000ms);
    EXPECT_EQ(g_nSlaveAddress, 17);
    EXPECT_EQ(g_nModel, 1);
    EXPECT_FALSE(std::filesystem::exists(profile));
    for (int i = 0; i < 64; ++i) EXPECT_EQ(g_nTitlePosition[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(SendAndWait("TSDM\r\n"), (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
}

// On hardware the search goes to the device shown, not the one open; only OK
// moves the link there.
TEST_F(CommSearchTest, SearchOnAnotherPortAsksThereAndOnlyOkMovesTheLink) {
    CSwitcherServer bus(kBus[0]);
    bus.AddSwitcher(kBus[1]);
    ASSERT_TRUE(bus.Start());
    CSwitcherServer single({.nModel = 0});
    ASSERT_TRUE(single.Start());
    WriteProfile("com_port=0", single.DevicePath());
    WriteFileText(profile, ReadFileText(profile) + "COM2=" + bus.DevicePath() + "\n");
    const std::string before = ReadFileText(profile);
    MakeFrame();
    ASSERT_TRUE(sink.boxes.empty());
    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_COM_PORT, 1);
        Choose(dlg, IDC_INTERFACE, 1);
        QStringList statuses;
        SearchAndWait(dlg, statuses);
        auto* found = FindControl<QComboBox>(dlg, IDC_BUS_FOUND);
        EXPECT_EQ(Items(found), QStringList({"03  Qelvar-32", "17  Qelvar-64"}));
        Choose(dlg, IDC_INTERFACE, 0);  // answers belong to the interface they came on
        EXPECT_EQ(found->count(), 0);
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(bus.LinesReceived(), 32);
    EXPECT_EQ(single.LinesReceived(), 0);
    EXPECT_EQ(ReadFileText(profile), before);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_FALSE(Link().Taker());
    EXPECT_EQ(SendAndWait("TSDM\r\n"), (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
    EXPECT_EQ(single.LinesReceived(), 1);

    // Again, and OK: the port, the interface, the switcher picked and its model stay.
    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_COM_PORT, 1);
        Choose(dlg, IDC_INTERFACE, 1);
        QStringList statuses;
        SearchAndWait(dlg, statuses);
        auto* list = FindControl<QComboBox>(dlg, IDC_BUS_FOUND);
        EXPECT_EQ(list->currentIndex(), 0);  // 00, the address in use, did not answer
        Pick(list, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(g_nComPort, 1);
    EXPECT_EQ(g_nSlaveAddress, 17);
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(Link().CommPortOverride(), "");
    EXPECT_EQ(SendAndWait("TSDM\r\n"), (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
    EXPECT_EQ(bus.State(1).m_tables.m_nDateFormat, 1);
    EXPECT_EQ(ReadFileText(profile),
              "[Qelvar-32_Section]\ncom_port=1\nqlv_model=1\nrs_control=1\n" +
                  before.substr(before.find("[Ports]")));
}

// A server's address typed and not confirmed is asked over a connection of
// the search's own, with the interface shown: the program's link stays on its
// port, connected, with no change at all, whether the dialog ends with CLOSE
// or with OK, which then takes the address and the switcher picked.
TEST_F(CommSearchTest, SearchAsksATypedServerOverItsOwnConnectionAndLeavesTheLinkAlone) {
    CSwitcherServer bus(kBus[0]);
    bus.AddSwitcher(kBus[1]);
    ASSERT_TRUE(bus.Start());
    CSer2net server(bus.DevicePath());
    CSwitcherServer single({.nModel = 0});
    ASSERT_TRUE(single.Start());
    WriteProfile("com_port=0", single.DevicePath());
    MakeFrame();
    ASSERT_TRUE(Link().State().Connected());
    const std::string port = Link().State().Port();
    int linkChanges = 0;
    auto watching = Link().State().Changes().Watch([&](const CLinkChange&) { ++linkChanges; });
    for (const std::string& address : {server.RawPort(), server.Rfc2217Port()}) {
        QStringList statuses;
        QStringList found;
        WhenModal([&](QDialog& dlg) {
            TypeDevice(dlg, QString::fromStdString(address));
            Choose(dlg, IDC_INTERFACE, 1);
            SearchAndWait(dlg, statuses);
            found = Items(FindControl<QComboBox>(dlg, IDC_BUS_FOUND));
            EXPECT_EQ(Link().State().Port(), port);
            Click(dlg, IDCANCEL);
        });
        frame->OnCommand(ID_COMM_SETTINGS);
        EXPECT_EQ(found, QStringList({"03  Qelvar-32", "17  Qelvar-64"})) << address;
        EXPECT_EQ(statuses.back(), "2 台見つかりました") << statuses.join("|").toStdString();
        EXPECT_EQ(linkChanges, 0) << address;
        EXPECT_EQ(single.LinesReceived(), 0);
        EXPECT_FALSE(Link().Taker());
        ASSERT_TRUE(server.WaitIdle()) << server.Log();
    }
    EXPECT_EQ(bus.LinesReceived(), 64);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(SendAndWait("TSDM\r\n"), (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
    EXPECT_EQ(single.LinesReceived(), 1);

    WhenModal([&](QDialog& dlg) {
        TypeDevice(dlg, QString::fromStdString(server.RawPort()));
        Choose(dlg, IDC_INTERFACE, 1);
        QStringList statuses;
        SearchAndWait(dlg, statuses);
        Pick(FindControl<QComboBox>(dlg, IDC_BUS_FOUND), 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(g_nSlaveAddress, 17);
    EXPECT_EQ(g_nModel, 1);
    ASSERT_TRUE(ProcessUntil([] { return Link().State().Connected(); }, 5000)) << server.Log();
    EXPECT_EQ(Link().State().Port(), "COM1 " + server.RawPort());
    EXPECT_EQ(SendAndWait("TSDM\r\n"), (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
    EXPECT_EQ(bus.State(1).m_tables.m_nDateFormat, 1);
}

// A port the search cannot open says why, keeps what it found before out of
// the list, and leaves the link as it was.
TEST_F(CommSearchTest, ASearchWhosePortCannotBeOpenedSaysWhyAndLeavesTheLinkAlone) {
    WriteProfile("com_port=0");
    MakeFrame();
    const std::string port = Link().State().Port();
    QString status;
    QString why;
    WhenModal([&](QDialog& dlg) {
        TypeDevice(dlg, "/dev/qelvar-none");
        Click(dlg, IDC_BUS_SEARCH);
        status = FindControl<QLabel>(dlg, IDC_BUS_STATUS)->text();
        why = DeviceInfo(dlg);
        EXPECT_EQ(FindControl<QPushButton>(dlg, IDC_BUS_SEARCH)->text(), "検索");
        EXPECT_FALSE(FindControl<QComboBox>(dlg, IDC_BUS_FOUND)->isEnabled());
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(status, "接続できません");
    EXPECT_TRUE(why.startsWith("/dev/qelvar-none: ")) << why.toStdString();
    EXPECT_EQ(Link().State().Port(), port);
    EXPECT_TRUE(Link().State().Connected());
    EXPECT_TRUE(sink.boxes.empty());  // no set-up boxes for a port only searched
}

}  // namespace
