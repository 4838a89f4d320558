// qelvarctl read killed while it saves: the preloaded fsync holds the save
// between writing its temporary file and renaming it, and the test sends a
// real signal then. Nothing half made may stay: no empty target, no temporary
// file once the tool could clean up, and none for long once it could not.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class InterruptedSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1);
        ASSERT_TRUE(server.Start()) << server.Error();
    }

    std::vector<std::string> ReadArgs() const {
        return {"--port", server.DevicePath(), "--rs232", "read", out, "--pace",
                "ack",    "--no-model-check"};
    }

    // The preloaded fsync waits far longer than the test does.
    static std::vector<std::string> HeldSaveEnv() {
        const char* asan = std::getenv("ASAN_OPTIONS");
        return {"LD_PRELOAD=" SLOW_FSYNC_PATH, "QELVAR_TEST_FSYNC_DELAY_MS=60000",
                std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":verify_asan_link_order=0"};
    }

    // The names in the folder that belong to out.dat: the file and its temporaries.
    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("out.dat")) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Waits until the run has made its temporary file; its name, or "".
    std::string AwaitTempFile() const {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const auto& name : OutFiles()) {
                if (name.starts_with("out.dat.tmp")) return name;
            }
            std::this_thread::sleep_for(5ms);
        }
        return "";
    }

    CTempDir dir;
    CSwitcherServer server;
    const std::string out = dir.File("out.dat");
};

TEST_F(InterruptedSaveTest, SigintOrSigtermRemovesTheTemporaryFileAndKeepsTheOldFile) {
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        const bool hadFile = signal == SIGINT;
        if (hadFile) WriteFileText(out, "old");
        CRunningProcess read(QELVARCTL_PATH, ReadArgs(), HeldSaveEnv());
        const std::string temp = AwaitTempFile();
        ASSERT_FALSE(temp.empty());
        std::this_thread::sleep_for(50ms);  // into the held fsync

        const int status = read.Kill(signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_EQ(OutFiles(),
                  hadFile ? std::vector<std::string>{"out.dat"} : std::vector<std::string>{});
        if (hadFile) {
            EXPECT_EQ(ReadFileText(out), "old");
        }
    }
}

// SIGKILL cannot be caught: the temporary file stays, but the target was never
// made, and the next save of the same target removes the temporary file once
// it is old enough to be surely dead.
TEST_F(InterruptedSaveTest, AKilledSaveMakesNoTargetAndTheNextSaveRemovesItsTemporaryFile) {
    std::string temp;
    {
        CRunningProcess read(QELVARCTL_PATH, ReadArgs(), HeldSaveEnv());
        temp = AwaitTempFile();
        ASSERT_FALSE(temp.empty());
        std::this_thread::sleep_for(50ms);
        const int status = read.Kill(SIGKILL);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    }
    EXPECT_EQ(OutFiles(), std::vector<std::string>{temp});  // no empty out.dat beside it

    const timespec twoMinutesAgo[2] = {{std::time(nullptr) - 120, 0},
                                       {std::time(nullptr) - 120, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.File(temp).c_str(), twoMinutesAgo, 0), 0);
    const CProcessResult again = RunProcess(QELVARCTL_PATH, ReadArgs());
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"out.dat"});
    EXPECT_GT(fs::file_size(out), 19000u);
}

}  // namespace
