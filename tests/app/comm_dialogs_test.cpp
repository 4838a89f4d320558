#include <termios.h>

#include <QLabel>
#include <filesystem>

#include "app/comm_dialogs.h"
#include "dialog_kit/corner_clicks.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/receive_thread.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/link_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

class CommDialogsTest : public AppTest {
protected:
    // Sends one line and waits for what it brings: the "Success" box on GO.
    std::vector<RecordedBox> SendAndWait(const std::string& line) {
        sink.boxes.clear();
        SendCommand(line);
        ProcessUntil([&] { return !sink.boxes.empty() || g_bAwaitingReply == 0; });
        return sink.boxes;
    }
};

// The port's flow control, as a re-open sets it again.
bool HardwareFlowControl(int fd) {
    termios tio{};
    tcgetattr(fd, &tio);
    return tio.c_cflag & CRTSCTS;
}

TEST_F(CommDialogsTest, OkAlwaysRestartsTheLinkAndWritesBothKeys) {
    Link().SetCommPortOverride(pty.SlavePath());
    MakeFrame();
    ASSERT_TRUE(sink.boxes.empty());
    termios tio{};
    tcgetattr(g_hComm, &tio);
    tio.c_cflag &= ~CRTSCTS;  // undone only if the port is opened and set up again
    tcsetattr(g_hComm, TCSANOW, &tio);
    ASSERT_FALSE(HardwareFlowControl(g_hComm));
    g_nCornerClicks = 4;
    int cornerWhileOpen = -1;
    WhenModal([&](QDialog& dlg) {
        cornerWhileOpen = g_nCornerClicks;
        EXPECT_EQ(dlg.windowTitle(), "通信の設定");
        Click(dlg, IDOK);  // nothing changed
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(cornerWhileOpen, 0);
    ASSERT_GE(g_hComm, 0);
    EXPECT_TRUE(HardwareFlowControl(g_hComm));
    EXPECT_TRUE(g_hReadThread.joinable());
    SendCommand("ROTP\r\n");
    pty.Write("OTP02\r\n");  // the new thread serves the reopened port
    EXPECT_TRUE(ProcessUntil([] { return g_nCurMemory == 2; }));
    EXPECT_EQ(ReadFileText(profile), "[Qelvar-32_Section]\ncom_port=0\nrs_control=0\n");

    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_COM_PORT, 3);
        Choose(dlg, IDC_INTERFACE, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(g_nComPort, 3);
    EXPECT_EQ(g_bRs485, 1);
    EXPECT_EQ(ReadFileText(profile), "[Qelvar-32_Section]\ncom_port=3\nrs_control=1\n");
}

TEST_F(CommDialogsTest, CloseChangesNothing) {
    Link().SetCommPortOverride(pty.SlavePath());
    MakeFrame();
    const int port = g_hComm;
    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_COM_PORT, 5);
        Choose(dlg, IDC_INTERFACE, 1);
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    EXPECT_EQ(g_nComPort, 0);
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_hComm, port);
    EXPECT_FALSE(std::filesystem::exists(profile));

    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_MODEL, 1);
        Click(dlg, IDCANCEL);
    });
    frame->OnCommand(ID_MODEL_SELECT);
    EXPECT_EQ(g_nModel, 0);
    EXPECT_FALSE(std::filesystem::exists(profile));
}

TEST_F(CommDialogsTest, TheModelChangeKeepsEveryTableAndThePort) {
    WriteProfile("com_port=0");
    MakeFrame();
    g_nSeqTime[4][40] = 17;  // a channel beyond the 32-input model
    g_nInTitleDisp[50] = 0;
    g_strTitle[45] = "\x82\xa0";
    const int port = g_hComm;
    WhenModal([&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "モデルの選択");
        Choose(dlg, IDC_MODEL, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_MODEL_SELECT);
    EXPECT_EQ(g_nModel, 1);
    EXPECT_NE(ReadFileText(profile).find("qlv_model=1"), std::string::npos);
    EXPECT_EQ(g_nSeqTime[4][40], 17);
    EXPECT_EQ(g_nInTitleDisp[50], 0);
    EXPECT_EQ(g_strTitle[45], "\x82\xa0");
    EXPECT_EQ(g_hComm, port);
}

const std::vector<RecordedBox> kSuccess = {{BoxKind::kSuccess, "Success"}};

TEST_F(CommDialogsTest, TheSimulatorFollowsTheInterfaceAndModelButTheProfileKeepsThem) {
    WriteProfile("com_port=0\nrs_control=0\nqlv_model=0");
    const std::string hardwareProfile = ReadFileText(profile);
    CStartOptions options;
    options.bSimulator = true;
    MakeFrame(options);
    ASSERT_TRUE(sink.boxes.empty());

    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_INTERFACE, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_COMM_SETTINGS);
    ASSERT_EQ(g_bRs485, 1);
    // Whichever address an editor's list holds, the one switcher on the line answers.
    for (int address : {0, 7, 31}) {
        g_nSlaveAddress = address;
        EXPECT_EQ(SendAndWait("TSDM\r\n"), kSuccess) << address;
    }

    WhenModal([&](QDialog& dlg) {
        Choose(dlg, IDC_MODEL, 1);
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_MODEL_SELECT);
    ASSERT_EQ(g_nModel, 1);
    g_nSeqTime[0][63] = 0;
    SendCommand("RAST01\r\n");  // read back with 64 channels
    EXPECT_TRUE(ProcessUntil([] { return g_nSeqTime[0][63] == 3; }));

    // A later start on the hardware finds the profile as it was.
    EXPECT_EQ(ReadFileText(profile), hardwareProfile);
    frame.reset();
    sink.boxes.clear();
    MakeFrame();
    EXPECT_EQ(sink.boxes, std::vector<RecordedBox>{});
    EXPECT_EQ(g_bRs485, 0);
    EXPECT_EQ(g_nModel, 0);
}

// A settings file of the other model switches the virtual switcher as the
// model dialog does: it then answers a read with 64 channels.
TEST_F(CommDialogsTest, TheSimulatorFollowsTheModelOfAnOpenedFile) {
    WriteProfile("com_port=0\nrs_control=0\nqlv_model=0");
    const std::string hardwareProfile = ReadFileText(profile);
    CStartOptions options;
    options.bSimulator = true;
    MakeFrame(options);
    g_nModel = 1;
    const std::string wide = dir.File("wide.dat");
    ASSERT_TRUE(SaveSettingsFile(wide));
    g_nModel = 0;

    dialogs->openResult = wide;
    frame->OnCommand(ID_FILE_OPEN_SETTINGS);
    ASSERT_EQ(g_nModel, 1);
    g_nSeqTime[0][63] = 0;
    SendCommand("RAST01\r\n");
    EXPECT_TRUE(ProcessUntil([] { return g_nSeqTime[0][63] == 3; }));
    EXPECT_EQ(ReadFileText(profile), hardwareProfile);
}

// A switcher given its address on the command line keeps to that address.
TEST_F(CommDialogsTest, TheSimulatorsOwnAddressOutlivesAnInterfaceChange) {
    CStartOptions options;
    options.bSimulator = true;
    options.nSimRs485Address = 5;
    MakeFrame(options);
    g_nSlaveAddress = 5;
    for (int bRs485 : {0, 1}) {
        WhenModal([&](QDialog& dlg) {
            Choose(dlg, IDC_INTERFACE, bRs485);
            Click(dlg, IDOK);
        });
        frame->OnCommand(ID_COMM_SETTINGS);
        EXPECT_EQ(SendAndWait("TSDM\r\n"), kSuccess) << bRs485;
    }
    EXPECT_FALSE(std::filesystem::exists(profile));
}

TEST_F(CommDialogsTest, TheAboutBoxShowsTheVersionAndTheLicence) {
    Link().SetCommPortOverride(pty.SlavePath());
    MakeFrame();
    QString caption;
    QStringList texts;
    WhenModal([&](QDialog& dlg) {
        caption = dlg.windowTitle();
        for (const QLabel* label : dlg.findChildren<QLabel*>()) texts << label->text();
        Click(dlg, IDOK);
    });
    frame->OnCommand(ID_APP_ABOUT);
    EXPECT_EQ(caption, "Qelvar のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(texts, (QStringList{"Qelvar Version " QELVAR_VERSION, "Copyright (C) 2026",
                                  "ライセンス: GNU GPL 第 3 版以降"}));
}

TEST(DialogTemplateTest, ControlsLieInsideTheirDialogAndCombosHoldTheirItems) {
    for (const CDialogTemplate* t : AllDialogTemplates()) {
        for (const auto& c : t->controls) {
            EXPECT_LE(c.x + c.cx, t->cx) << t->nId << "/" << c.nId;
            if (c.kind != ControlKind::kDropList && c.kind != ControlKind::kDropDown) {
                EXPECT_LE(c.y + c.cy, t->cy) << t->nId << "/" << c.nId;
            }
        }
    }
    const CDialogTemplate* comm = FindDialogTemplate(IDD_COMM_SETTINGS);
    ASSERT_NE(comm, nullptr);
    EXPECT_EQ(comm->Control(IDC_COM_PORT)->items,
              (std::vector<std::string>{"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6"}));
    EXPECT_EQ(FindDialogTemplate(IDD_MODEL_SELECT)->Control(IDC_MODEL)->items,
              (std::vector<std::string>{"Qelvar-32", "Qelvar-64"}));
}

TEST(DialogBuilderTest, ControlsAreFoundByIdAndPlacedByDialogUnits) {
    QDialog dialog;
    BuildDialog(dialog, CommSettingsTemplate());
    const CDialogUnits units = DialogUnitsFor(dialog.font());
    EXPECT_GT(units.nBaseX, 3);
    EXPECT_GT(units.nBaseY, units.nBaseX);
    EXPECT_EQ(dialog.size(), QSize(units.X(186), units.Y(70)));
    auto* ok = FindControl<QPushButton>(dialog, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->geometry(), units.Rect(140, 10, 40, 14));
    EXPECT_TRUE(ok->isDefault());
    auto* ports = FindControl<QComboBox>(dialog, IDC_COM_PORT);
    ASSERT_NE(ports, nullptr);
    EXPECT_EQ(ports->count(), 6);
    EXPECT_FALSE(ports->isEditable());
}

}  // namespace
