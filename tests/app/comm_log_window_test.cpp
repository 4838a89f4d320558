#include "app/comm_log_window.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "link/link_flags.h"
#include "link/transmitter.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"

namespace {

QPushButton* Button(const QWidget& window, const QString& text) {
    for (auto* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

QString Shown(const CCommLogWindow& window) {
    return window.View()->toPlainText();
}

QString Expected(const CCommLog& log) {
    QStringList lines;
    for (const auto& entry : log.Entries()) lines << QString::fromStdString(FormatEntry(entry));
    return lines.join('\n');
}

// Columns line up: the characters a log line is made of all advance alike.
// (Measured, because a font's fixed-pitch flag is not always set on fonts whose
// glyphs are of equal width.)
::testing::AssertionResult EveryCharacterIsAsWideAsTheOthers(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString sample = "0123456789:. ><\\iIlWMm_x";
    const qreal width = metrics.horizontalAdvance(sample[0]);
    for (QChar c : sample) {
        if (metrics.horizontalAdvance(c) != width) {
            return ::testing::AssertionFailure()
                   << QFontInfo(font).family().toStdString() << ": '" << QString(c).toStdString()
                   << "' advances " << metrics.horizontalAdvance(c) << ", '0' " << width;
        }
    }
    return ::testing::AssertionSuccess();
}

class CommLogWindowTest : public ::testing::Test {
protected:
    void Open() {
        window = std::make_unique<CCommLogWindow>(log);
        window->m_chooseSavePath = [this](QWidget*) {
            ++nChooserCalls;
            return savePath;
        };
        window->show();
    }

    CRecordingSink sink;
    CTempDir dir;
    CCommLog log;
    std::unique_ptr<CCommLogWindow> window;
    std::optional<std::string> savePath;
    int nChooserCalls = 0;
};

TEST_F(CommLogWindowTest, ShowsEarlierLinesThenFollowsNewOnesInOrder) {
    log.Add(CommDirection::kSent, "RTSD\r\n");
    Open();
    EXPECT_EQ(window->windowTitle(), "通信ログ");
    EXPECT_TRUE(window->View()->isReadOnly());
    EXPECT_TRUE(EveryCharacterIsAsWideAsTheOthers(window->View()->font()));
    log.Add(CommDirection::kReceived, "TSDY\r\n");
    log.Add(CommDirection::kSent, "AST01\x1b\r\n");
    EXPECT_EQ(window->View()->blockCount(), 3);
    EXPECT_EQ(Shown(*window), Expected(log));
    EXPECT_TRUE(Shown(*window).endsWith(R"(> AST01\x1b<CR><LF>)"));
}

TEST_F(CommLogWindowTest, AHiddenWindowCatchesUpWhenShownAgain) {
    Open();
    log.Add(CommDirection::kSent, "A\r\n");
    window->hide();
    log.Add(CommDirection::kReceived, "B\r\n");
    log.Clear();
    log.Add(CommDirection::kSent, "C\r\n");
    window->show();
    EXPECT_EQ(Shown(*window), Expected(log));
    EXPECT_EQ(window->View()->blockCount(), 1);
}

TEST_F(CommLogWindowTest, KeepsTheNewestLineInViewAndDropsWhatTheLogDrops) {
    CCommLog small(50);
    window = std::make_unique<CCommLogWindow>(small);
    window->show();
    for (int i = 0; i < 80; ++i) small.Add(CommDirection::kSent, "L" + std::to_string(i));
    EXPECT_EQ(window->View()->blockCount(), 50);
    EXPECT_EQ(Shown(*window), Expected(small));
    const QScrollBar* bar = window->View()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

// The last line stands wholly inside the view, above the horizontal scroll bar.
bool LastLineInView(const QPlainTextEdit& view) {
    QTextCursor end(view.document());
    end.movePosition(QTextCursor::End);
    const QRect line = view.cursorRect(end);
    return line.top() >= 0 && line.bottom() <= view.viewport()->height();
}

// Opened after traffic had begun, with lines wider than the view: the view
// keeps following while it is at the bottom, and stays put once scrolled up.
TEST_F(CommLogWindowTest, FollowsWhileAtTheBottomAndStaysWhereTheUserScrolled) {
    const std::string wide = "AST01" + std::string(150, '3') + "\r\n";
    for (int i = 0; i < 30; ++i) log.Add(CommDirection::kSent, wide);
    Open();
    QApplication::processEvents();
    const QScrollBar* bar = window->View()->verticalScrollBar();
    for (int i = 0; i < 170; ++i) {
        log.Add(i % 2 ? CommDirection::kReceived : CommDirection::kSent, i % 2 ? "GO\r\n" : wide);
        if (i % 20 == 0) QApplication::processEvents();
    }
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(LastLineInView(*window->View()));

    window->resize(600, 300);  // a smaller window keeps following too
    QApplication::processEvents();
    log.Add(CommDirection::kSent, wide);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(LastLineInView(*window->View()));

    window->View()->verticalScrollBar()->setValue(10);
    for (int i = 0; i < 20; ++i) log.Add(CommDirection::kSent, wide);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 10);
    EXPECT_FALSE(LastLineInView(*window->View()));

    window->View()->verticalScrollBar()->setValue(bar->maximum());  // back at the bottom
    log.Add(CommDirection::kSent, wide);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(LastLineInView(*window->View()));
}

TEST_F(CommLogWindowTest, ClearEmptiesTheViewAndTheLog) {
    Open();
    log.Add(CommDirection::kSent, "RTSD\r\n");
    log.Add(CommDirection::kReceived, "TSDY\r\n");
    Button(*window, "クリア")->click();
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(Shown(*window), "");
    log.Add(CommDirection::kSent, "RCA01\r\n");
    EXPECT_EQ(Shown(*window), Expected(log));
    EXPECT_EQ(window->View()->blockCount(), 1);
}

TEST_F(CommLogWindowTest, SaveWritesTheLogToTheChosenFile) {
    Open();
    log.Add(CommDirection::kSent, "RTSD\r\n");
    log.Add(CommDirection::kReceived, "TSDY\r\n");
    savePath = dir.File("log.txt");
    Button(*window, "保存...")->click();
    EXPECT_EQ(nChooserCalls, 1);
    EXPECT_EQ(ReadFileText(*savePath), FormatLog(log));
    EXPECT_TRUE(sink.boxes.empty());

    // Cancelling the chooser writes nothing.
    WriteFileText(*savePath, "old");
    savePath.reset();
    Button(*window, "保存...")->click();
    EXPECT_EQ(ReadFileText(dir.File("log.txt")), "old");
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(CommLogWindowTest, AFailedSaveShowsTheWarning) {
    Open();
    log.Add(CommDirection::kSent, "RTSD\r\n");
    savePath = dir.File("missing/log.txt");
    Button(*window, "保存...")->click();
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, "Can't file write"}}));
}

TEST_F(CommLogWindowTest, CloseHidesAndTheLogOutlivesTheWindow) {
    Open();
    Button(*window, "CLOSE")->click();
    EXPECT_FALSE(window->isVisible());
    window.reset();
    log.Add(CommDirection::kSent, "RTSD\r\n");  // must not reach the destroyed window
    EXPECT_EQ(log.Entries().size(), 1u);
}

using CommLogMenuTest = AppTest;

TEST_F(CommLogMenuTest, TheMenuItemShowsOneWindowWithEveryLineSinceStartUp) {
    WriteProfile("com_port=0");
    MakeFrame();
    ASSERT_TRUE(frame->Action(ID_COMM_LOG)->isEnabled());
    SendCommand("RTSD\r\n");
    pty.Write("TSDY\r\n");
    ASSERT_TRUE(ProcessUntil([] { return g_bAwaitingReply == 0; }));

    frame->Action(ID_COMM_LOG)->trigger();
    auto windows = frame->findChildren<CCommLogWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_TRUE(Shown(*windows[0]).contains("> RTSD<CR><LF>"));
    EXPECT_TRUE(Shown(*windows[0]).endsWith("< TSDY<CR><LF>"));

    windows[0]->close();
    frame->Action(ID_COMM_LOG)->trigger();
    EXPECT_EQ(frame->findChildren<CCommLogWindow*>().size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
}

}  // namespace
