// Starting the program: the options, a second start, a settings file given on
// the command line, and Qt's own texts in the user's language.
#include <QAbstractButton>
#include <QDir>
#include <QLocalSocket>
#include <QMessageBox>
#include <cstring>

#include "app/qelvar_app.h"
#include "link/transmitter.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "tests/app/app_fixture.h"
#include "tests/app/scoped_env.h"
#include "tests/cli/run_process.h"

namespace {

// The program itself, run where no display is.
class QelvarProcessTest : public ::testing::Test {
protected:
    CProcessResult Run(const std::vector<std::string>& args) {
        return RunProcess(QELVAR_PATH, args, 30000);
    }
    CTempDir runtime;
    CScopedEnv noDisplay{"DISPLAY", nullptr};
    CScopedEnv noWayland{"WAYLAND_DISPLAY", nullptr};
    CScopedEnv noPlatform{"QT_QPA_PLATFORM", nullptr};
    CScopedEnv ownRuntime{"XDG_RUNTIME_DIR", runtime.Path()};
    CScopedEnv ownProfile{"QELVAR_PROFILE", runtime.File("Qelvar.ini")};
};

TEST_F(QelvarProcessTest, HelpAndVersionAnswerWithoutADisplay) {
    const CProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: qelvar"), std::string::npos);
    EXPECT_NE(help.out.find("FILE.dat"), std::string::npos);
    EXPECT_EQ(help.err, "");

    const CProcessResult version = Run({"--simulator", "--version"});
    EXPECT_EQ(version.status, 0);
    // As GNU programs print it; qelvarctl's says the same.
    EXPECT_EQ(version.out,
              "qelvar (Qelvar) " QELVAR_VERSION
              "\n"
              "Copyright (C) 2026 Qelvar project\n"
              "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
              "This is free software: you are free to change and redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n");
    EXPECT_EQ(version.err, "");
}

TEST_F(QelvarProcessTest, AnUnknownOptionEndsWithStatusOneAndTheUsage) {
    CScopedEnv offscreen{"QT_QPA_PLATFORM", "offscreen"};
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--bogus"}, {"a.dat", "b.dat"}}) {
        SCOPED_TRACE(args.back());
        const CProcessResult run = Run(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("Usage: qelvar"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

TEST(AppOptionsTest, OneSettingsFileBesideTheOptions) {
    const CAppOptions o = ParseAppOptions({"qelvar", "--simulator", "site.dat", "--model", "64"});
    EXPECT_EQ(o.strError, "");
    EXPECT_EQ(o.strSettingsFile, "site.dat");
    EXPECT_TRUE(o.start.bSimulator);
    EXPECT_EQ(o.start.nSimModel, 1);
    EXPECT_NE(ParseAppOptions({"qelvar", "a.dat", "b.dat"}).strError, "");
    EXPECT_NE(ParseAppOptions({"qelvar", "-x"}).strError, "");
}

// A start in-process, with its own lock folder, profile and boxes.
class AppStartUpTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteProfile("com_port=0");
        options.strProfile = profile;
    }
    void TearDown() override {
        app.reset();
        QApplication::setFont(font);
        AppTest::TearDown();
    }
    CQelvarApp& Start() {
        app = std::make_unique<CQelvarApp>();
        app->UseMessageSink(&sink);
        EXPECT_TRUE(app->InitInstance(options));
        return *app;
    }
    CTempDir runtime;
    CScopedEnv ownRuntime{"XDG_RUNTIME_DIR", runtime.Path()};
    QFont font = QApplication::font();
    CAppOptions options;
    std::unique_ptr<CQelvarApp> app;
};

TEST_F(AppStartUpTest, ASecondStartWithAnyArgumentsOnlySaysSoAndEnds) {
    CInstanceLock first;
    ASSERT_TRUE(first.Acquire());
    const std::string file = dir.File("site.dat");
    g_nSeqTime[0][0] = 30;
    ASSERT_TRUE(SaveSettingsFile(file));
    g_nSeqTime[0][0] = 3;

    for (const QStringList& args :
         {QStringList{"qelvar", "--bogus"}, QStringList{"qelvar", QString::fromStdString(file)},
          QStringList{"qelvar", "--simulator", "--model", "64"}}) {
        CQelvarApp second;
        second.UseMessageSink(&sink);
        EXPECT_EQ(second.Run(args), 0);
        EXPECT_EQ(second.MainFrame(), nullptr);
    }
    EXPECT_EQ(sink.boxes, std::vector<RecordedBox>(3, {BoxKind::kNotice, "既に起動しています。"}));
    EXPECT_EQ(g_nSeqTime[0][0], 3);
    EXPECT_EQ(g_strFileName, "");
}

TEST_F(AppStartUpTest, TheRunningProgramAnswersASecondStart) {
    Start();
    QLocalSocket caller;
    caller.connectToServer(CRunningInstance::SocketPath());
    EXPECT_TRUE(caller.waitForConnected(1000));
    EXPECT_EQ(CRunningInstance::SocketPath().toStdString(), runtime.File("Qelvar_Instance.socket"));
}

// Small plain windows: painting larger ones sends Qt's fills to its own
// thread pool, which the thread sanitizer cannot follow.
TEST_F(AppStartUpTest, ASecondStartBringsTheRunningWindowToTheFront) {
    CInstanceLock lock;
    ASSERT_TRUE(lock.Acquire());
    QWidget running;
    QWidget other;
    for (QWidget* window : {&running, &other}) {
        window->setFixedSize(120, 40);
        window->show();
    }
    CRunningInstance instance;
    ASSERT_TRUE(instance.Listen(&running));
    running.showMinimized();
    other.activateWindow();
    ASSERT_TRUE(ProcessUntil([&] { return other.isActiveWindow(); }));

    CQelvarApp second;
    second.UseMessageSink(&sink);
    EXPECT_FALSE(second.CheckSingleInstance());
    EXPECT_TRUE(ProcessUntil([&] { return running.isActiveWindow(); }));
    EXPECT_FALSE(running.isMinimized());
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kNotice, "既に起動しています。"}}));
}

TEST_F(AppStartUpTest, AFileOnTheCommandLineLoadsAsOpenDoes) {
    g_nSeqTime[0][0] = 30;
    ASSERT_TRUE(SaveSettingsFile(dir.File("site.dat")));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.Path()));
    options.strSettingsFile = "site.dat";  // relative: the caption shows the full path
    Start();
    QDir::setCurrent(cwd);
    EXPECT_EQ(g_nSeqTime[0][0], 30);  // after the model's reset at start-up
    EXPECT_EQ(g_strFileName, dir.File("site.dat"));
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(sink.boxes.empty());
}

// On the virtual switcher the file's model is the switcher's too.
TEST_F(AppStartUpTest, ACommandLineFileOfTheOtherModelSwitchesTheSimulator) {
    g_nModel = 1;
    ASSERT_TRUE(SaveSettingsFile(dir.File("wide.dat")));
    g_nModel = 0;
    options.start.bSimulator = true;
    options.strSettingsFile = dir.File("wide.dat");
    Start();
    ASSERT_EQ(g_nModel, 1);
    g_nSeqTime[5][40] = 0;
    SendCommand("RAST06\r\n");
    EXPECT_TRUE(ProcessUntil([] { return g_nSeqTime[5][40] == 3; }));
    // As File Open does, the program says that the file changed the model.
    EXPECT_EQ(
        sink.boxes,
        (std::vector<RecordedBox>{{BoxKind::kWarning,
                                   "The model in use is a Qelvar-32, but the file says Qelvar-64; "
                                   "the program now uses Qelvar-64"}}));
}

TEST_F(AppStartUpTest, ACommandLineFileFollowsOpensRefusalRules) {
    std::string text;
    {
        ASSERT_TRUE(SaveSettingsFile(dir.File("good.dat")));
        text = ReadFileText(dir.File("good.dat"));
        WriteFileText(dir.File("bad.dat"), text.replace(text.rfind("\r\n0\r\n"), 5, "\r\n7\r\n"));
    }
    options.strSettingsFile = dir.File("bad.dat");
    Start();
    EXPECT_EQ(g_strFileName, "");  // refused: the defaults keep no name
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kWarning, "Can't file read (line 6434)"}}));
    app.reset();
    sink.boxes.clear();

    options.strSettingsFile = dir.File("missing.dat");
    Start();
    EXPECT_EQ(g_strFileName, dir.File("missing.dat"));  // cannot be opened: the name stays
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{
                              {BoxKind::kWarning, "Can't file open\n" + dir.File("missing.dat") +
                                                      ": " + std::strerror(ENOENT)}}));
}

TEST(QtTranslationsTest, AJapaneseLocaleGetsJapaneseButtonsAndFileDialogs) {
    const auto yesText = [] {
        QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    EXPECT_EQ(yesText(), "&Yes");
    {
        CQtTranslations translations;
        ASSERT_TRUE(translations.Install(QLocale(QLocale::Japanese, QLocale::Japan)));
        EXPECT_TRUE(yesText().contains("はい")) << yesText().toStdString();
        const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
        EXPECT_NE(lookIn, "Look in:");
    }
    EXPECT_EQ(yesText(), "&Yes");  // removed with the object
}

}  // namespace
