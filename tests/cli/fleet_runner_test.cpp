// The fleet's runner with small shell commands for switchers: lanes in turn
// and side by side, the job limit, progress lines, statuses, a stop; the
// landing of backups; the progress lines as shown.
#include "cli/fleet_runner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>

#include "cli/fleet_backup.h"
#include "cli/fleet_progress.h"
#include "tests/support/temp_dir.h"

namespace {

CFleetTask Shell(const std::string& script) {
    return {{"/bin/sh", "-c", script}, "connecting", {"sending", "verifying"}};
}

// Runs the tasks, recording the most that ran at once and every state seen.
struct CRunRecord {
    int nMaxRunning = 0;
    std::vector<std::vector<std::string>> states;
    std::vector<size_t> order;  // tasks in the order they started
};

CRunRecord RunAll(CFleetRunner& runner, size_t tasks) {
    CRunRecord record;
    record.states.resize(tasks);
    std::vector<bool> started(tasks, false);
    int running = 0;
    runner.onChange = [&](size_t i) {
        const CFleetState& state = runner.State(i);
        if (!started[i]) {
            started[i] = true;
            record.order.push_back(i);
            record.nMaxRunning = std::max(record.nMaxRunning, ++running);
        }
        if (state.bDone) --running;
        auto& seen = record.states[i];
        if (seen.empty() || seen.back() != state.strState) seen.push_back(state.strState);
    };
    runner.Run();
    return record;
}

TEST(FleetRunnerTest, ALaneRunsInTurnLanesSideBySideUpToTheJobLimit) {
    for (int jobs : {1, 2}) {
        std::vector<CFleetTask> tasks;
        for (int i = 0; i < 6; ++i) tasks.push_back(Shell("sleep 0.05; echo " + std::to_string(i)));
        CFleetRunner runner(std::move(tasks), {{0, 1}, {2, 3}, {4, 5}}, jobs);
        const CRunRecord record = RunAll(runner, 6);
        EXPECT_EQ(record.nMaxRunning, jobs);
        // The second of a lane only after the first.
        for (size_t first : {0u, 2u, 4u}) {
            const auto at = [&](size_t t) {
                return std::find(record.order.begin(), record.order.end(), t) -
                       record.order.begin();
            };
            EXPECT_LT(at(first), at(first + 1)) << "jobs " << jobs;
        }
        for (size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(runner.Outcome(i).nStatus, 0);
            EXPECT_EQ(runner.Outcome(i).out, std::vector<std::string>{std::to_string(i)});
            EXPECT_TRUE(runner.State(i).bDone);
        }
    }
}

TEST(FleetRunnerTest, ProgressLinesMoveTheStateAndTheRestIsKeptWithoutTheToolsName) {
    CFleetRunner runner({Shell("echo 'progress 0/3' >&2; echo 'progress 2/3' >&2; echo diff-1;"
                               "echo 'progress 0/5' >&2; echo 'progress 5/5' >&2;"
                               "echo 'qelvarctl: the switcher does not hold it' >&2;"
                               "echo 'progress 1/2 extra' >&2; printf tail; exit 6")},
                        {{0}}, 1);
    const CRunRecord record = RunAll(runner, 1);
    EXPECT_EQ(record.states[0], (std::vector<std::string>{"connecting", "sending", "verifying"}));
    const CFleetOutcome& outcome = runner.Outcome(0);
    EXPECT_EQ(outcome.nStatus, 6);
    EXPECT_EQ(outcome.out, (std::vector<std::string>{"diff-1", "tail"}));
    EXPECT_EQ(outcome.err,
              (std::vector<std::string>{"the switcher does not hold it", "progress 1/2 extra"}));
    EXPECT_EQ(runner.State(0).nStep, 5);
    EXPECT_EQ(runner.State(0).nSteps, 5);
}

TEST(FleetRunnerTest, ADeathBySignalAndAProgramThatCannotRunAreStatusesOfTheirOwn) {
    CFleetRunner runner(
        {Shell("kill -TERM $$"), {{"/nonexistent/qelvarctl"}, "asking", {}}, Shell("exit 0")},
        {{0}, {1, 2}}, 2);
    RunAll(runner, 3);
    EXPECT_EQ(runner.Outcome(0).nStatus, 128 + SIGTERM);
    EXPECT_EQ(runner.Outcome(1).nStatus, 2);
    ASSERT_EQ(runner.Outcome(1).err.size(), 1u);
    EXPECT_EQ(runner.Outcome(1).err[0].rfind("cannot run /nonexistent/qelvarctl: ", 0), 0u);
    EXPECT_EQ(runner.Outcome(2).nStatus, 0);  // the lane went on
}

TEST(FleetRunnerTest, AStopReachesWhatRunsAndWhatHasNotBegunIsNotRun) {
    CFleetRunner runner(
        {Shell("echo 'progress 0/1' >&2; exec sleep 30"), Shell("exit 0"), Shell("exit 0")},
        {{0, 1}, {2}}, 1);
    runner.stopRequested = [&] { return runner.State(0).strState == "sending" ? SIGTERM : 0; };
    std::vector<size_t> ended;
    runner.onEnded = [&](size_t i) { ended.push_back(i); };
    RunAll(runner, 3);
    // Every task is ended once, those not run too, so a report has them all.
    std::sort(ended.begin(), ended.end());
    EXPECT_EQ(ended, (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(runner.Outcome(0).nStatus, 128 + SIGTERM);
    EXPECT_FALSE(runner.Outcome(0).bNotRun);
    for (size_t i : {1u, 2u}) {
        EXPECT_TRUE(runner.Outcome(i).bNotRun);
        EXPECT_EQ(runner.Outcome(i).nStatus, 128 + SIGTERM);
        EXPECT_EQ(runner.State(i).strState, "not run");
    }
}

TEST(FleetBackupTest, ACompleteReadLandsOnlyWhenItDiffersAndNeverStays) {
    CTempDir dir;
    const std::string path = BackupPath(dir.Path(), "rack-1");
    const std::string read = BackupReadPath(dir.Path(), "rack-1");
    std::string error;
    WriteFileText(read, "one\n");
    EXPECT_EQ(LandBackup(read, path, error), BackupLanding::kWritten);
    EXPECT_EQ(ReadFileText(path), "one\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    WriteFileText(read, "one\n");
    EXPECT_EQ(LandBackup(read, path, error), BackupLanding::kUnchanged);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_NE(::access(read.c_str(), F_OK), 0);

    WriteFileText(read, "two\n");
    EXPECT_EQ(LandBackup(read, path, error), BackupLanding::kWritten);
    EXPECT_EQ(ReadFileText(path), "two\n");

    // A folder where the backup goes: nothing is replaced, the read is gone.
    const std::string folder = BackupPath(dir.Path(), "rack-2");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    WriteFileText(BackupReadPath(dir.Path(), "rack-2"), "three\n");
    EXPECT_EQ(LandBackup(BackupReadPath(dir.Path(), "rack-2"), folder, error),
              BackupLanding::kFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_NE(::access(BackupReadPath(dir.Path(), "rack-2").c_str(), F_OK), 0);

    EXPECT_EQ(BackupNameFault("rack-1 east"), "");
    EXPECT_NE(BackupNameFault("a/b"), "");
    EXPECT_NE(BackupNameFault(".."), "");
}

std::string Shown(bool terminal, const std::vector<std::pair<size_t, CFleetState>>& changes) {
    std::FILE* out = std::tmpfile();
    {
        CFleetProgressView view({"本館", "rack-22"}, terminal, out);
        for (const auto& [i, state] : changes) view.Changed(i, state);
        view.Finish();
    }
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    return text;
}

TEST(FleetProgressTest, PlainLinesComeAtEachNewStateAndATerminalIsRedrawnInPlace) {
    const std::vector<std::pair<size_t, CFleetState>> changes = {{0, {"sending", 0, 165, false}},
                                                                 {0, {"sending", 1, 165, false}},
                                                                 {1, {"asking", 0, 0, false}},
                                                                 {0, {"verifying", 0, 168, false}},
                                                                 {0, {"ok", 168, 168, true}}};
    EXPECT_EQ(Shown(false, changes),
              "本館: sending 0/165\n"
              "rack-22: asking\n"
              "本館: verifying 0/168\n"
              "本館: ok\n");
    const std::string drawn = Shown(true, changes);
    // Names padded to one width (本館 takes four columns), the steps right-aligned.
    const std::string first = "\r\033[K本館" + std::string(9, ' ') + "0/165  sending\n" +
                              "\r\033[Krack-22" + std::string(13, ' ') + "waiting\n";
    EXPECT_EQ(drawn.rfind(first, 0), 0u) << drawn;
    const std::string last = "\033[2A\r\033[K本館" + std::string(7, ' ') + "168/168  ok\n" +
                             "\r\033[Krack-22" + std::string(13, ' ') + "asking\n";
    EXPECT_TRUE(drawn.ends_with(last)) << drawn;
}

}  // namespace
