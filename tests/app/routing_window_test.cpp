#include "app/routing_window.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "app/routing_table_model.h"
#include "app/routing_view.h"
#include "editors/pattern_output_send.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

const std::string kHonsha = "\x96\x7B\x8E\xD0";         // 本社
const std::string kLobby = "\x83\x8D\x83\x72\x81\x5B";  // ロビー
const std::string kLong =
    "\x91\xE6\x82\x50\x83\x58\x83\x5E\x83\x57"  // 第１スタジオ副調整室
    "\x83\x49\x95\x9B\x92\xB2\x90\xAE\x8E\xBA";

class RoutingWindowTest : public AppTest {
protected:
    void Open() {
        WriteProfile("com_port=0");
        MakeFrame();
        frame->show();
        frame->Action(ID_ROUTING_VIEW)->trigger();
        window = frame->findChild<CRoutingWindow*>();
        ASSERT_NE(window, nullptr);
    }
    CrosspointState Drawn(int in, int out) const {
        const QModelIndex at = window->View()->model()->index(in, out);
        return static_cast<CrosspointState>(at.data(CRoutingTableModel::kStateRole).toInt());
    }
    QPoint Centre(int in, int out) const {
        return window->View()->visualRect(window->View()->model()->index(in, out)).center();
    }

    CRoutingWindow* window = nullptr;
};

TEST_F(RoutingWindowTest, TheMenuAndTheButtonOpenOneWindowBesideTheMainWindowNotModal) {
    Open();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window->windowTitle(), "ルーティング一覧");
    // Beside the strip, or below it on a narrow screen; on the screen either way.
    EXPECT_FALSE(window->frameGeometry().intersects(frame->frameGeometry()));
    EXPECT_TRUE(frame->screen()->availableGeometry().contains(window->frameGeometry()));
    EXPECT_EQ(window->Rows()->count(), 65);
    EXPECT_EQ(window->Rows()->item(0)->text(), "直接");
    EXPECT_EQ(window->Rows()->item(64)->text(), "メモリ 64");
    EXPECT_FALSE(window->TakeButton()->isEnabled());  // nothing staged

    window->close();
    frame->OnCommand(ID_ROUTING_VIEW);  // the tool-bar button's command
    EXPECT_EQ(frame->findChildren<CRoutingWindow*>().size(), 1);
    EXPECT_TRUE(window->isVisible());
    frame->OnCommand(ID_COMM_LOG);  // the main window still takes commands
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(RoutingWindowTest, ClicksAndSpaceStageTheTakeGoesOutAndGoMovesTheMarks) {
    Open();
    QWidget* cells = window->View()->viewport();
    ClickAt(cells, Centre(4, 2));
    EXPECT_EQ(Drawn(4, 2), CrosspointState::kStaged);
    EXPECT_EQ(Drawn(2, 2), CrosspointState::kLeaving);
    PressKey(window->View(), Qt::Key_Down);
    PressKey(window->View(), Qt::Key_Right);
    PressKey(window->View(), Qt::Key_Space);  // input 06 onto output 04
    EXPECT_EQ(Drawn(5, 3), CrosspointState::kStaged);
    EXPECT_EQ(g_nPattern[0][3], 3);
    EXPECT_TRUE(window->Status()->text().contains("2"));

    ASSERT_TRUE(window->TakeButton()->isEnabled());
    window->TakeButton()->click();
    OutputRow row = g_nPattern[0];
    row[2] = 4;
    row[3] = 5;
    EXPECT_EQ(pty.Read(100), PatternRowLine(0, row));
    EXPECT_FALSE(window->Rows()->isEnabled());  // the row stays until the answer
    pty.Write("GO\r\n");
    ASSERT_TRUE(ProcessUntil([] { return g_nPattern[0][3] == 5; }));
    EXPECT_EQ(Drawn(5, 3), CrosspointState::kInUse);
    EXPECT_EQ(window->Matrix().StagedCount(), 0);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));

    // Page Down steps to memory 01; a take there is its TP line, and an error
    // reply leaves it staged.
    PressKey(window->View(), Qt::Key_PageDown);
    EXPECT_EQ(window->Rows()->currentRow(), 1);
    EXPECT_EQ(Drawn(3, 3), CrosspointState::kInUse);
    PressKey(window->View(), Qt::Key_Space);
    window->TakeButton()->click();
    EXPECT_EQ(pty.Read(102).substr(0, 4), "TP01");
    pty.Write("E3\r\n");
    ASSERT_TRUE(ProcessUntil([&] { return !window->Matrix().Awaiting(); }));
    EXPECT_EQ(Drawn(5, 3), CrosspointState::kStaged);
    EXPECT_EQ(g_nPattern[1][3], 3);
    EXPECT_TRUE(window->TakeButton()->isEnabled());
    window->DropButton()->click();
    EXPECT_EQ(Drawn(5, 3), CrosspointState::kFree);
}

// The output switching editor is modal; the window shows its change meanwhile.
TEST_F(RoutingWindowTest, AChangeInTheModelShowsWhileTheWindowIsOpen) {
    Open();
    g_nCurOutput = 5;
    bool shown = false;
    WhenModal([&](QDialog& editor) {
        Pick(FindControl<QComboBox>(editor, IDC_OUT_CHANNEL), 7);
        shown = ProcessUntil([&] { return Drawn(7, 5) == CrosspointState::kInUse; }, 1000);
        editor.reject();
    });
    frame->Action(ID_PATTERN_OUTPUT)->trigger();
    EXPECT_TRUE(shown);
    g_strTitle[7] = kHonsha;
    const auto label = [&] {
        return window->View()->model()->headerData(7, Qt::Vertical, Qt::DisplayRole).toString();
    };
    ASSERT_TRUE(ProcessUntil([&] { return label() == "I08 本社"; }, 1000));
    g_nModel = 1;
    ASSERT_TRUE(ProcessUntil([&] { return window->View()->model()->rowCount() == 64; }, 1000));
    EXPECT_TRUE(window->View()->currentIndex().isValid());
}

// One picture per model, with titles, a pattern and a staged change; set
// QELVAR_SCREENSHOT_DIR to keep them.
class RoutingScreenshotTest : public RoutingWindowTest,
                              public ::testing::WithParamInterface<int> {};

TEST_P(RoutingScreenshotTest, DrawsMarksStagedChangesAndEveryInput) {
    const int inputs = GetParam() == 0 ? 32 : 64;
    Open();
    g_nModel = GetParam();
    g_strTitle[0] = kHonsha;
    g_strTitle[2] = kLobby;
    g_strTitle[inputs - 1] = kLong;
    g_nPattern[0][6] = inputs + 4;   // A05
    g_nPattern[0][31] = inputs - 1;  // the last input on the last output
    window->Follow();
    ClickAt(window->View()->viewport(), Centre(9, 1));
    window->resize(window->WholeSize().boundedTo({1400, 700}));
    QApplication::processEvents();

    QImage image = window->grab().toImage();
    const QPoint origin = window->View()->viewport()->mapTo(window, QPoint(0, 0));
    const auto pixel = [&](int in, int out) { return image.pixelColor(origin + Centre(in, out)); };
    EXPECT_LT(pixel(0, 0).lightness(), 60);   // in use: a black disc
    EXPECT_GT(pixel(1, 0).lightness(), 200);  // free
    const QColor staged = pixel(9, 1);
    EXPECT_GT(staged.red(), 200);
    EXPECT_LT(staged.blue(), 80);
    EXPECT_GT(pixel(1, 1).lightness(), 100);  // the ring's centre stays light
    const QRect shown = window->View()->viewport()->rect();
    for (int in = 0; in < inputs; ++in) {
        if (!shown.contains(Centre(in, 6))) break;
        ASSERT_GT(pixel(in, 6).lightness(), 150) << in;  // a pattern marks no input
    }
    const QString header =
        window->View()->model()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(header, "07\nA05");
    // The longest title shows whole in its header.
    const QHeaderView* side = window->View()->verticalHeader();
    EXPECT_GE(side->width(), side->fontMetrics().horizontalAdvance("I64 第１スタジオ副調整室"));

    const QByteArray dir = qgetenv("QELVAR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(dir));
        EXPECT_TRUE(image.save(QString("%1/routing-%2.png").arg(dir.constData()).arg(inputs)));
    }

    // The last input is reached by scrolling, and drawn there.
    window->View()->scrollToBottom();
    QApplication::processEvents();
    image = window->grab().toImage();
    const QRect last = window->View()->visualRect(window->View()->model()->index(inputs - 1, 0));
    EXPECT_TRUE(window->View()->viewport()->rect().contains(last));
    EXPECT_LT(pixel(inputs - 1, 31).lightness(), 60);
}

INSTANTIATE_TEST_SUITE_P(Models, RoutingScreenshotTest, ::testing::Values(0, 1),
                         [](const auto& info) {
                             return info.param == 0 ? "Inputs32" : "Inputs64";
                         });

}  // namespace
