#include "model/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A pid no process has any more: a child's, once it has ended and been reaped.
pid_t GonePid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void Backdate(const std::string& path, int seconds) {
    const timespec then[2] = {{std::time(nullptr) - seconds, 0}, {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), then, 0), 0) << path;
}

// Records what the write tells it, and whether the target was there yet.
class CRecordingTracker : public CTempFileTracker {
public:
    explicit CRecordingTracker(std::string target) : m_target(std::move(target)) {}
    void TempFileBegins(const std::string& path) override {
        begun.push_back(path);
        bTargetThere = bTargetThere || fs::exists(m_target);
    }
    void TempFileEnds() override { ++nEnded; }

    std::vector<std::string> begun;
    bool bTargetThere = false;
    int nEnded = 0;

private:
    std::string m_target;
};

TEST(FileIoTest, TemporaryFilesOfWritersThatDiedGoWithTheNextWriteOfTheirTarget) {
    CTempDir dir;
    const std::string gone = std::to_string(GonePid());
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::string> stale = {"a.dat.tmp" + gone + "-1", "a.dat.tmp" + gone + "-17"};
    const std::vector<std::string> kept = {
        "a.dat.tmp" + alive + "-1",  // its writer still runs
        "b.dat.tmp" + gone + "-1",   // another target's
        "a.dat.tmp" + gone + "-x",   // not a name the writer gives
        "a.dat.tmp-1",
        "a.dat.tmp" + gone + "-1-2",
        "a.dat.tmp" + gone + "-3",  // too fresh to be sure
    };
    for (const auto& name : stale) {
        WriteFileText(dir.File(name), "half");
        Backdate(dir.File(name), 120);
    }
    for (const auto& name : kept) {
        WriteFileText(dir.File(name), "half");
        if (name != kept.back()) Backdate(dir.File(name), 120);
    }

    EXPECT_EQ(WriteFileAtomically(dir.File("a.dat"), "new"), WriteResult::kOk);
    std::vector<std::string> expected = kept;
    expected.push_back("a.dat");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(dir.Path()), expected);
    EXPECT_EQ(ReadFileText(dir.File("a.dat")), "new");
}

// The tracker hears of the temporary file before it exists and after it is
// gone; the target appears only by the rename.
TEST(FileIoTest, TheTrackerKnowsTheTemporaryFileWhileItExists) {
    CTempDir dir;
    const std::string target = dir.File("new.dat");
    CRecordingTracker tracker(target);
    EXPECT_EQ(WriteFileAtomically(target, "content", &tracker), WriteResult::kOk);
    ASSERT_EQ(tracker.begun.size(), 1u);
    EXPECT_EQ(tracker.begun[0].rfind(target + ".tmp" + std::to_string(::getpid()) + "-", 0), 0u);
    EXPECT_FALSE(tracker.bTargetThere);
    EXPECT_EQ(tracker.nEnded, 1);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"new.dat"});

    CRecordingTracker refused(dir.File("none/x.dat"));
    const CWriteOutcome outcome = WriteFileAtomically(dir.File("none/x.dat"), "x", &refused);
    EXPECT_EQ(outcome, WriteResult::kOpenFailed);
    EXPECT_EQ(refused.nEnded, static_cast<int>(refused.begun.size()));
}

}  // namespace
