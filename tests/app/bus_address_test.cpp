// Talking to one switcher among several on an RS-485 line: the slave address
// editor follows the address it gives, and an address or a file of the other
// model is noticed, on a bus of two virtual switchers.
#include <QLabel>

#include "app/bus_search.h"
#include "app/comm_dialogs.h"
#include "dialogs/auto_sequence_dlg.h"
#include "link/link_context.h"
#include "link/transmitter.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/link_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

class BusAddressTest : public AppTest {
protected:
    // Addresses 03 (Qelvar-32) and 17 (Qelvar-64); the program on the 32-input model.
    void MakeBus() {
        CStartOptions options;
        options.bSimulator = true;
        options.simBus = {{.nModel = 0, .bRs485 = true, .nAddress = 3},
                          {.nModel = 1, .bRs485 = true, .nAddress = 17}};
        options.nSimModel = 0;
        MakeFrame(options);
        ASSERT_EQ(g_bRs485, 1);
        ASSERT_EQ(g_nModel, 0);
    }
    std::vector<RecordedBox> SendAndWait(const std::string& line) {
        sink.boxes.clear();
        SendCommand(line);
        ProcessUntil([&] { return !sink.boxes.empty(); });
        return sink.boxes;
    }
    // 検索 in 通信の設定, then CLOSE: what it found stays known.
    void Search() {
        WhenModal([&](QDialog& dlg) {
            Click(dlg, IDC_BUS_SEARCH);
            auto& search = static_cast<CCommSettingsDlg&>(dlg).Search();
            EXPECT_TRUE(ProcessUntil([&] { return !search.Running(); }, 6000));
            Click(dlg, IDCANCEL);
        });
        frame->OnCommand(ID_COMM_SETTINGS);
        ASSERT_EQ(Link().Found().Answers().size(), 2u);
    }
    std::string ModelFile(int nModel) {
        const int model = g_nModel;
        g_nModel = nModel;
        const std::string path = dir.Path() + "/model" + std::to_string(nModel) + ".dat";
        EXPECT_TRUE(SaveSettingsFile(path));
        g_nModel = model;
        return path;
    }
};

const char kFollowQuestion[] =
    "スイッチャーのアドレスを 05 にしました。\n今後はアドレス 05 と通信しますか？";

TEST_F(BusAddressTest, OnGoToSaTheEditorOffersToTalkToTheNewAddress) {
    MakeBus();
    g_nSlaveAddress = 3;
    sink.answers = {true};
    QString opened;
    WhenModal([&](QDialog& dlg) {
        auto* list = FindControl<QComboBox>(dlg, IDC_SLAVE_ADDRESS);
        opened = list->currentText();
        Pick(list, 5);
        Click(dlg, IDC_SET);
        EXPECT_TRUE(ProcessUntil([&] { return sink.boxes.size() >= 2; }));
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_SLAVE_ADDRESS);
    EXPECT_EQ(opened, "03");
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"},
                                                    {BoxKind::kQuestion, kFollowQuestion}}));
    EXPECT_EQ(g_nSlaveAddress, 5);
    // The switcher answers at its new address.
    EXPECT_EQ(SendAndWait("TSDM\r\n"), (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));

    // No: the program keeps talking to the address it had.
    sink.boxes.clear();
    sink.answers = {false};
    WhenModal([&](QDialog& dlg) {
        auto* list = FindControl<QComboBox>(dlg, IDC_SLAVE_ADDRESS);
        opened = list->currentText();
        Pick(list, 9);
        Click(dlg, IDC_SET);
        EXPECT_TRUE(ProcessUntil([&] { return sink.boxes.size() >= 2; }));
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_SLAVE_ADDRESS);
    EXPECT_EQ(opened, "05");
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[1].kind, BoxKind::kQuestion);
    EXPECT_EQ(g_nSlaveAddress, 5);
}

// Only the switcher's GO tells that it took the address: a line nobody
// answers ends in "No Connect" and asks nothing.
TEST_F(BusAddressTest, AnSaNobodyAnswersAsksNothing) {
    MakeBus();
    g_nSlaveAddress = 9;
    sink.answers = {true};
    WhenModal([&](QDialog& dlg) {
        Pick(FindControl<QComboBox>(dlg, IDC_SLAVE_ADDRESS), 5);
        Click(dlg, IDC_SET);
        EXPECT_TRUE(ProcessUntil([&] { return !sink.boxes.empty(); }, 5000));
        ProcessUntil([] { return false; }, 300);
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_SLAVE_ADDRESS);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    EXPECT_EQ(g_nSlaveAddress, 9);
}

TEST_F(BusAddressTest, AnAddressTheSearchFoundWithTheOtherModelOffersToSwitchTheEditorToIt) {
    MakeBus();
    g_nSlaveAddress = 3;
    Search();
    sink.boxes.clear();
    sink.answers = {true};
    int shown = 0;
    int channels = 0;
    std::function<void(QDialog&)> reopened = [&](QDialog& dlg) {
        ++shown;
        channels = static_cast<CAutoSequenceDlg&>(dlg).Combo(IDC_SEQ_CHANNEL)->count();
        Click(dlg, IDCANCEL);
    };
    WhenModal([&](QDialog& dlg) {
        ++shown;
        auto* list = static_cast<CAutoSequenceDlg&>(dlg).Combo(IDC_SLAVE_ADDRESS);
        Pick(list, 9);  // nobody answered there: nothing asked
        EXPECT_TRUE(sink.boxes.empty());
        Pick(list, 17);
        WhenModal(reopened);
    });
    frame->OnCommand(ID_AUTO_SEQUENCE);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kQuestion,
                                         "アドレス 17 のスイッチャーは Qelvar-64 です。\nモデルを "
                                         "Qelvar-64 に切り替えますか？"}}));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(channels, 64);  // opened again in the new model's shape
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(g_nSlaveAddress, 17);

    // No: the model stays, the address is taken.
    sink.boxes.clear();
    sink.answers = {false};
    shown = 0;
    WhenModal([&](QDialog& dlg) {
        ++shown;
        Pick(static_cast<CAutoSequenceDlg&>(dlg).Combo(IDC_SLAVE_ADDRESS), 3);
        EXPECT_EQ(sink.boxes.size(), 1u);
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_AUTO_SEQUENCE);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(g_nSlaveAddress, 3);
}

// The file still sets the model; the warning says which switcher, or which
// model, it does not match.
TEST_F(BusAddressTest, OpeningAFileOfTheOtherModelWarns) {
    MakeBus();
    const std::string wide = ModelFile(1);
    const std::string narrow = ModelFile(0);
    dialogs->openResult = narrow;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_TRUE(sink.boxes.empty());

    dialogs->openResult = wide;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(
        sink.boxes,
        (std::vector<RecordedBox>{{BoxKind::kWarning,
                                   "The model in use is a Qelvar-32, but the file says Qelvar-64; "
                                   "the program now uses Qelvar-64"}}));
    EXPECT_EQ(g_nModel, 1);

    // Against the switcher the search found where the program talks.
    g_nSlaveAddress = 17;
    Search();
    sink.boxes.clear();
    dialogs->openResult = narrow;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{
                  {BoxKind::kWarning, "The switcher on " + Link().State().Port() +
                                          " address 17 is a Qelvar-64, but the file says "
                                          "Qelvar-32; the program now uses Qelvar-32"}}));
    EXPECT_EQ(g_nModel, 0);
    ASSERT_FALSE(frame->CommLog().Entries().empty());
    EXPECT_NE(frame->CommLog().Entries().back().line.find("the program now uses Qelvar-32"),
              std::string::npos);
}

}  // namespace
