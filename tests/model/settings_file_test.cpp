#include "model/settings_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "tests/support/file_tables.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace {

namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

// The file of the default 32-input model, line by line, built from the layout:
// five display tables, sequence times, memory rows 1..64, the output calendar
// again, date format, model, titles.
Lines DefaultLines() {
    Lines lines(256, "1");
    lines.insert(lines.end(), 4096, "3");
    for (int row = 0; row < 64; ++row) {
        for (int out = 0; out < 32; ++out) lines.push_back(std::to_string(out));
    }
    lines.insert(lines.end(), 32, "1");
    lines.push_back("0");
    lines.push_back("0");
    lines.insert(lines.end(), 64, "s");
    return lines;
}

std::string Join(const Lines& lines, const std::string& eol = "\r\n") {
    std::string text;
    for (const auto& line : lines) text += line + eol;
    return text;
}

// Line n (1-based) of a lines vector.
std::string& At(Lines& lines, int n) {
    return lines.at(static_cast<size_t>(n - 1));
}

// Count Shift_JIS "ク" characters, two bytes each.
std::string SjisKu(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\x83\x4e";
    return text;
}

// Gives every saved table values that differ from the defaults and from each
// other, so a field written to or read from the wrong line shows.
void FillVaried() {
    for (int i = 0; i < kMaxInputs; ++i) {
        g_nInTitleDisp[i] = i % 2;
        g_nTitlePosition[i] = (i / 3) % 2;
        g_nInCalendarDisp[i] = i % 5 == 0 ? 1 : 0;
        g_strTitle[i] = i % 4 == 0 ? "" : "T" + std::to_string(i);
    }
    for (int out = 0; out < kOutputs; ++out) {
        g_nOutTitleDisp[out] = (out / 2) % 2;
        g_nOutCalendarDisp[out] = out % 3 == 0 ? 0 : 1;
        g_nPattern[0][out] = 31 - out;
    }
    for (int p = 0; p < kPatterns; ++p) {
        for (int ch = 0; ch < kMaxInputs; ++ch) g_nSeqTime[p][ch] = (p * 7 + ch) % 61;
    }
    for (int row = 1; row < kPatternRows; ++row) {
        for (int out = 0; out < kOutputs; ++out) g_nPattern[row][out] = (row * 5 + out * 3) % 128;
    }
    g_nDateFormat = 2;
    g_nModel = 1;
    g_strTitle[1] = "\x83\x4e\x83\x8b";  // Shift_JIS "クル"
    g_strTitle[2] = "CAM 2";
    g_strTitle[3] = std::string(32, 'W');  // the longest title allowed
    g_strTitle[5] = " lead";
    g_strTitle[6] = SjisKu(16);  // as long, in two-byte characters
}

// One value per part of the layout, at its first or last line.
void ApplyMarkers() {
    g_nInTitleDisp[0] = 0;
    g_nInTitleDisp[63] = 0;
    g_nOutTitleDisp[31] = 0;
    g_nTitlePosition[0] = 0;
    g_nInCalendarDisp[63] = 0;
    g_nOutCalendarDisp[0] = 0;
    g_nSeqTime[0][0] = 60;
    g_nSeqTime[1][0] = 9;
    g_nSeqTime[63][63] = 0;
    g_nPattern[1][0] = 127;
    g_nPattern[64][31] = 64;
    g_nDateFormat = 1;
    g_nModel = 1;
    g_strTitle[0] = "first";
    g_strTitle[63] = "last";
}

Lines MarkedLines() {
    Lines lines = DefaultLines();
    At(lines, 1) = "0";
    At(lines, 64) = "0";
    At(lines, 96) = "0";
    At(lines, 97) = "0";
    At(lines, 224) = "0";
    At(lines, 225) = "0";
    At(lines, 257) = "60";
    At(lines, 321) = "9";
    At(lines, 4352) = "0";
    At(lines, 4353) = "127";
    At(lines, 6400) = "64";
    At(lines, 6401) = "0";
    At(lines, 6433) = "1";
    At(lines, 6434) = "1";
    At(lines, 6435) = "first";
    At(lines, 6498) = "last";
    return lines;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// Caps the size of files this process may write, so that writing the settings
// fails part-way even for root; SIGXFSZ is ignored so write() reports EFBIG.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = m_old;
        capped.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~CFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_old{};
    sighandler_t m_oldHandler{};
};

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetModelDefaults();
        g_nModel = 0;
        g_nSendStep = 0;
        g_bErrorReply = 0;
    }

    std::vector<RecordedBox> Warning(const std::string& text) {
        return {{BoxKind::kWarning, text}};
    }

    // Saves as an unprivileged user; "saved" or "refused", each box and g_bModified after.
    std::optional<std::string> SaveAsUnprivilegedUser(const std::string& path) {
        return RunUnprivileged([&] {
            std::string report = SaveSettingsFile(path) ? "saved" : "refused";
            for (const auto& box : m_sink.boxes) report += "|" + box.text;
            return report + "|modified=" + std::to_string(g_bModified);
        });
    }

    CTempDir m_dir;
    CRecordingSink m_sink;
};

TEST_F(SettingsFileTest, DefaultModelSavesExactLayout) {
    g_bModified = 1;
    const std::string path = m_dir.File("default.dat");
    ASSERT_TRUE(SaveSettingsFile(path));

    const Lines expected = DefaultLines();
    ASSERT_EQ(expected.size(), 6498u);
    EXPECT_EQ(ReadFileText(path), Join(expected));
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(m_sink.boxes.empty());
}

TEST_F(SettingsFileTest, SaveWritesEachFieldOnItsLine) {
    ApplyMarkers();
    const std::string path = m_dir.File("marked.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    EXPECT_EQ(ReadFileText(path), Join(MarkedLines()));
}

TEST_F(SettingsFileTest, LoadReadsEachFieldFromItsLine) {
    ApplyMarkers();
    const CSettingsTables expected = FileTables(g_settings);
    ResetModelDefaults();
    g_nModel = 0;
    g_bModified = 1;

    const std::string path = m_dir.File("marked.dat");
    WriteFileText(path, Join(MarkedLines()));
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(FileTables(g_settings), expected);
    EXPECT_EQ(g_nModel, 1);  // a model line of 1 selects the 64-input model
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(m_sink.boxes.empty());
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryTable) {
    FillVaried();
    const CSettingsTables saved = FileTables(g_settings);
    const std::string path = m_dir.File("varied.dat");
    ASSERT_TRUE(SaveSettingsFile(path));

    ResetModelDefaults();
    g_nModel = 0;
    ASSERT_NE(FileTables(g_settings), saved);
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(FileTables(g_settings), saved);
    EXPECT_EQ(g_strTitle[1], "\x83\x4e\x83\x8b");
    EXPECT_EQ(g_strTitle[2], "CAM 2");
    EXPECT_EQ(g_strTitle[5], " lead");
    EXPECT_TRUE(m_sink.boxes.empty());
}

TEST_F(SettingsFileTest, TitleOfLetterSLoadsBackEmpty) {
    g_strTitle[7] = "s";
    const std::string path = m_dir.File("s.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    EXPECT_EQ(ReadFileText(path), Join(DefaultLines()));  // indistinguishable from no title

    g_strTitle[7] = "old";
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(g_strTitle[7], "");
}

// Files from other systems: LF alone, CR alone, and CR CR LF (a CR LF file
// converted once more) read as the CR LF file they came from.
TEST_F(SettingsFileTest, OtherLineEndsReadTheSame) {
    const std::string crlf = m_dir.File("crlf.dat");
    FillVaried();
    ASSERT_TRUE(SaveSettingsFile(crlf));
    const CSettingsTables saved = FileTables(g_settings);
    std::string text = ReadFileText(crlf);
    std::erase(text, '\r');
    const Lines lines = [&] {
        Lines split;
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1)
            split.push_back(text.substr(start, end - start));
        return split;
    }();
    ASSERT_EQ(lines.size(), 6498u);

    for (const std::string eol : {"\n", "\r", "\r\r\n"}) {
        SCOPED_TRACE(eol == "\n" ? "LF" : eol == "\r" ? "CR" : "CR CR LF");
        const std::string path = m_dir.File("other.dat");
        WriteFileText(path, Join(lines, eol));
        ResetModelDefaults();
        ASSERT_TRUE(LoadSettingsFile(path));
        EXPECT_EQ(FileTables(g_settings), saved);
        EXPECT_EQ(g_strTitle[2], "CAM 2");
        EXPECT_EQ(g_strTitle[63], saved.m_strTitle[63]);
        EXPECT_TRUE(m_sink.boxes.empty());
    }
}

TEST_F(SettingsFileTest, SecondOutputCalendarCopyCounts) {
    const std::string path = m_dir.File("calendar.dat");
    Lines lines = DefaultLines();
    for (int n = 225; n <= 256; ++n) At(lines, n) = "0";
    WriteFileText(path, Join(lines));
    ASSERT_TRUE(LoadSettingsFile(path));
    for (int out = 0; out < kOutputs; ++out)
        EXPECT_EQ(g_nOutCalendarDisp[out], 1) << "output " << out;

    lines = DefaultLines();
    for (int n = 6401; n <= 6432; ++n) At(lines, n) = "0";
    WriteFileText(path, Join(lines));
    ASSERT_TRUE(LoadSettingsFile(path));
    for (int out = 0; out < kOutputs; ++out)
        EXPECT_EQ(g_nOutCalendarDisp[out], 0) << "output " << out;
}

TEST_F(SettingsFileTest, PatternRowZeroStaysOutOfTheFile) {
    for (int out = 0; out < kOutputs; ++out) g_nPattern[0][out] = 31 - out;
    const std::string path = m_dir.File("row0.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    EXPECT_EQ(ReadFileText(path), Join(DefaultLines()));

    for (int out = 0; out < kOutputs; ++out) g_nPattern[0][out] = (out + 5) % 32;
    const OutputRow row0 = g_nPattern[0];
    g_nPattern[1][0] = 50;
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(g_nPattern[0], row0);
    EXPECT_EQ(g_nPattern[1][0], 0);
}

// The settings are one value now, and a load assigns it whole: what no file
// holds (the direct row, the current memory) must come through from memory,
// and must not reach the file on saving.
TEST_F(SettingsFileTest, DirectRowAndCurrentMemoryStayOutOfTheFileBothWays) {
    FillVaried();
    g_nCurMemory = 9;
    const std::string path = m_dir.File("varied.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    const std::string saved = ReadFileText(path);
    g_nCurMemory = 0;
    for (int out = 0; out < kOutputs; ++out) g_nPattern[0][out] = out;
    ASSERT_TRUE(SaveSettingsFile(path));
    EXPECT_EQ(ReadFileText(path), saved);

    const CSettingsTables loaded = FileTables(g_settings);
    ResetModelDefaults();
    g_nCurMemory = 41;
    for (int out = 0; out < kOutputs; ++out) g_nPattern[0][out] = 63 - out;
    const OutputRow row0 = g_nPattern[0];
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(FileTables(g_settings), loaded);
    EXPECT_EQ(g_nPattern[0], row0);
    EXPECT_EQ(g_nCurMemory, 41);
}

// A short file loads as far as it goes, but says where it ended, and what it
// left to memory counts as changed.
TEST_F(SettingsFileTest, ShortFileKeepsMissingNumbersEmptiesTitlesAndSaysWhereItEnded) {
    FillVaried();
    CSettingsTables expected = FileTables(g_settings);
    // The file stops after channel 44 of sequence pattern 01.
    Lines lines = DefaultLines();
    lines.resize(300);
    expected.m_nInTitleDisp.fill(1);
    expected.m_nOutTitleDisp.fill(1);
    expected.m_nTitlePosition.fill(1);
    expected.m_nInCalendarDisp.fill(1);
    expected.m_nOutCalendarDisp.fill(1);
    for (int ch = 0; ch < 44; ++ch) expected.m_nSeqTime[0][ch] = 3;
    for (auto& title : expected.m_strTitle) title.clear();

    const std::string path = m_dir.File("short.dat");
    WriteFileText(path, Join(lines));
    g_bModified = 0;
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(FileTables(g_settings), expected);
    EXPECT_EQ(g_bModified, 1);
    EXPECT_EQ(m_sink.boxes,
              Warning("The file ends at line 300 of 6498; the rest keeps the values in memory"));
}

// An empty file, as an interrupted copy leaves it, changes nothing but the titles.
TEST_F(SettingsFileTest, EmptyFileSaysItEndsAtLineZero) {
    FillVaried();
    CSettingsTables expected = FileTables(g_settings);
    for (auto& title : expected.m_strTitle) title.clear();
    for (const std::string text : {"", "\r\n \r\n"}) {
        const std::string path = m_dir.File("empty.dat");
        WriteFileText(path, text);
        m_sink.boxes.clear();
        g_bModified = 0;
        const CLoadOutcome loaded = ReadSettingsFile(path);
        EXPECT_EQ(loaded.result, LoadResult::kLoaded);
        EXPECT_EQ(loaded.strWarning,
                  "The file ends at line 0 of 6498; the rest keeps the values in memory");
        EXPECT_EQ(m_sink.boxes, Warning(loaded.strWarning));
        EXPECT_EQ(FileTables(g_settings), expected);
        EXPECT_EQ(g_bModified, 1);
    }
}

TEST_F(SettingsFileTest, FileEndingInTitlesEmptiesTheRest) {
    FillVaried();
    Lines lines = DefaultLines();
    At(lines, 6435) = "one";
    At(lines, 6436) = "two words";
    lines.resize(6436);
    // The last title has no line end.
    const std::string path = m_dir.File("titles.dat");
    WriteFileText(path, Join(lines) + "three");

    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(g_nModel, 0);
    EXPECT_EQ(g_nSeqTime[10][10], 3);
    EXPECT_EQ(g_strTitle[0], "one");
    EXPECT_EQ(g_strTitle[1], "two words");
    EXPECT_EQ(g_strTitle[2], "three");
    for (int ch = 3; ch < kMaxInputs; ++ch) EXPECT_EQ(g_strTitle[ch], "") << "channel " << ch;
    EXPECT_EQ(m_sink.boxes,
              Warning("The file ends at line 6437 of 6498; the rest keeps the values in memory"));
    EXPECT_EQ(g_bModified, 1);
}

// Every line there, only the last line end missing: nothing is lost.
TEST_F(SettingsFileTest, ACompleteFileWithoutItsLastLineEndLoadsWithoutAWord) {
    Lines lines = DefaultLines();
    At(lines, 6498) = "last";
    std::string text = Join(lines);
    text.resize(text.size() - 2);
    const std::string path = m_dir.File("complete.dat");
    WriteFileText(path, text);
    g_bModified = 1;
    ASSERT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(g_strTitle[63], "last");
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(m_sink.boxes.empty());
}

TEST_F(SettingsFileTest, BadValueRefusesWholeFile) {
    struct BadLine {
        int line;
        std::string text;
    };
    const BadLine cases[] = {
        {1, "x"},
        {2, "1.0"},
        {3, "0x1"},
        {4, "99999999999"},
        {70, "2"},
        {100, "-1"},
        {161, "2"},
        {225, "2"},
        {257, "61"},
        {300, "-1"},
        {4352, "61"},
        {4353, "128"},
        {6400, "-1"},
        {6401, "2"},
        {6433, "3"},
        {6434, "2"},
        {6435, std::string(33, 'W')},
        {6498, SjisKu(16) + "A"},  // 33 bytes
    };
    FillVaried();
    g_bModified = 1;
    const CSettingsTables before = FileTables(g_settings);
    const OutputRow row0 = g_nPattern[0];
    const std::string path = m_dir.File("bad.dat");

    for (const auto& bad : cases) {
        SCOPED_TRACE("line " + std::to_string(bad.line) + " = " + bad.text);
        Lines lines = DefaultLines();
        At(lines, bad.line) = bad.text;
        WriteFileText(path, Join(lines));
        m_sink.boxes.clear();

        EXPECT_FALSE(LoadSettingsFile(path));
        EXPECT_EQ(m_sink.boxes, Warning("Can't file read (line " + std::to_string(bad.line) + ")"));
        EXPECT_EQ(FileTables(g_settings), before);
        EXPECT_EQ(g_nPattern[0], row0);
        EXPECT_EQ(g_bModified, 1);
    }
}

TEST_F(SettingsFileTest, BadValueInFileOfOtherLineEndsNamesItsLine) {
    for (const std::string eol : {"\n", "\r", "\r\r\n"}) {
        for (int bad : {4000, 6440}) {
            Lines lines = DefaultLines();
            At(lines, bad) = bad < 6435 ? "abc" : std::string(33, 'W');
            const std::string path = m_dir.File("bad-eol.dat");
            WriteFileText(path, Join(lines, eol));
            m_sink.boxes.clear();
            EXPECT_FALSE(LoadSettingsFile(path));
            EXPECT_EQ(m_sink.boxes, Warning("Can't file read (line " + std::to_string(bad) + ")"))
                << "line ends "
                << (eol == "\n"   ? "LF"
                    : eol == "\r" ? "CR"
                                  : "CR CR LF");
        }
    }
}

// Refused at once, with the reason: before, a FIFO waited for a writer for
// ever, a device was read as a file and a huge file was read whole.
TEST_F(SettingsFileTest, LoadOfUnreadableFileWarnsWhyAndKeepsModel) {
    const std::string fifo = m_dir.File("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string huge = m_dir.File("huge.dat");
    WriteFileText(huge, "");
    fs::resize_file(huge, kMaxSettingsFileBytes + 1);  // sparse
    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {m_dir.File("missing.dat"), std::strerror(ENOENT)},
        {m_dir.Path(), std::strerror(EISDIR)},
        {fifo, "not a regular file"},
        {"/dev/null", "not a regular file"},
        {huge, "too large (1048577 bytes, at most 1048576)"},
    };
    FillVaried();
    g_bModified = 1;
    const CSettingsTables before = FileTables(g_settings);
    ::alarm(10);  // a load that hangs ends the test
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        m_sink.boxes.clear();
        EXPECT_FALSE(LoadSettingsFile(c.path));
        EXPECT_EQ(m_sink.boxes, Warning("Can't file open\n" + c.path + ": " + c.reason));
        EXPECT_EQ(FileTables(g_settings), before);
        EXPECT_EQ(g_bModified, 1);
    }
    ::alarm(0);
}

// The largest file taken: a complete one whose lines another tool padded.
TEST_F(SettingsFileTest, APaddedFileUpToTheSizeLimitLoads) {
    g_nSeqTime[9][9] = 42;
    const std::string path = m_dir.File("padded.dat");
    ASSERT_TRUE(SaveSettingsFile(path));
    std::string text = ReadFileText(path);
    text.replace(text.find("\r\n"), 2,
                 std::string(kMaxSettingsFileBytes - text.size(), ' ') + "\r\n");
    ASSERT_EQ(text.size(), kMaxSettingsFileBytes);
    WriteFileText(path, text);
    g_nSeqTime[9][9] = 3;
    EXPECT_TRUE(LoadSettingsFile(path));
    EXPECT_EQ(g_nSeqTime[9][9], 42);
    EXPECT_TRUE(m_sink.boxes.empty());
}

TEST_F(SettingsFileTest, SaveReplacesOldFileAndKeepsItsMode) {
    const std::string path = m_dir.File("old.dat");
    WriteFileText(path, std::string(100000, 'x'));  // longer than the new content
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    g_bModified = 1;

    ASSERT_TRUE(SaveSettingsFile(path));
    EXPECT_EQ(ReadFileText(path), Join(DefaultLines()));
    EXPECT_EQ(g_bModified, 0);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"old.dat"});  // no temp left
}

TEST_F(SettingsFileTest, SaveThroughSymlinkWritesLinkedFile) {
    const std::string real = m_dir.File("real.dat");
    const std::string link = m_dir.File("link.dat");
    WriteFileText(real, "old");
    fs::create_symlink(real, link);

    ASSERT_TRUE(SaveSettingsFile(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileText(real), Join(DefaultLines()));
}

TEST_F(SettingsFileTest, SaveToUnopenableTargetWarnsWhy) {
    g_bModified = 1;
    const std::string missingFolder = m_dir.File("no-such-folder/x.dat");
    const std::string fifo = m_dir.File("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::pair<std::string, std::string> cases[] = {
        {missingFolder, "Can't file open\n" + missingFolder + ": " + std::strerror(ENOENT)},
        {std::string(), "Can't file open"},  // no file name yet
        {m_dir.Path(), "Can't file open\n" + m_dir.Path() + ": " + std::strerror(EISDIR)},
        {fifo, "Can't file open\n" + fifo + ": not a regular file"},  // was opened and waited
        {"/dev/null", "Can't file open\n/dev/null: not a regular file"},
    };
    ::alarm(10);  // a save that hangs ends the test
    for (const auto& [path, warning] : cases) {
        SCOPED_TRACE("path '" + path + "'");
        m_sink.boxes.clear();
        const CSaveOutcome saved = SaveSettingsFile(path);
        EXPECT_FALSE(saved);
        EXPECT_EQ(saved.strWarning, warning);
        EXPECT_EQ(m_sink.boxes, Warning(warning));
        EXPECT_EQ(g_bModified, 1);
    }
    ::alarm(0);
    EXPECT_TRUE(fs::is_directory(m_dir.Path()));
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"fifo.dat"});
}

// Under root these run as nobody, which the permission bits stop as they stop
// any user; the test's folder is made the user's, so the folder is no obstacle.
TEST_F(SettingsFileTest, SaveOverReadOnlyFileKeepsIt) {
    const std::string path = m_dir.File("ro.dat");
    WriteFileText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(GiveToUnprivilegedUser(m_dir.Path()) && GiveToUnprivilegedUser(path));
    g_bModified = 1;

    EXPECT_EQ(SaveAsUnprivilegedUser(path),
              "refused|Can't file open\n" + path + ": " + std::strerror(EACCES) + "|modified=1");
    EXPECT_EQ(ReadFileText(path), "old");
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"ro.dat"});
}

TEST_F(SettingsFileTest, SaveInReadOnlyFolderKeepsOldFile) {
    const std::string path = m_dir.File("keep.dat");
    WriteFileText(path, "old");
    ASSERT_TRUE(GiveToUnprivilegedUser(path));  // the file may be written, the folder not
    ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0555), 0);
    g_bModified = 1;

    const std::optional<std::string> saved = SaveAsUnprivilegedUser(path);
    ::chmod(m_dir.Path().c_str(), 0755);
    EXPECT_EQ(saved,
              "refused|Can't file open\n" + path + ": " + std::strerror(EACCES) + "|modified=1");
    EXPECT_EQ(ReadFileText(path), "old");
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"keep.dat"});
}

// /proc/self takes no new files even for root, while its "comm" file may be
// opened for writing: the save must fail before touching it.
TEST_F(SettingsFileTest, SaveWhereNoTempFileCanBeMadeKeepsTarget) {
    const std::string path = "/proc/self/comm";
    const std::string before = ReadFileText(path);
    ASSERT_FALSE(before.empty());
    g_bModified = 1;

    EXPECT_FALSE(SaveSettingsFile(path));
    EXPECT_EQ(m_sink.boxes,
              Warning("Can't file open\n/proc/self/comm: " + std::string(std::strerror(ENOENT))));
    EXPECT_EQ(ReadFileText(path), before);
    EXPECT_EQ(g_bModified, 1);
}

TEST_F(SettingsFileTest, WriteErrorKeepsOldFileAndModifiedFlag) {
    const std::string path = m_dir.File("keep.dat");
    const std::string fresh = m_dir.File("fresh.dat");
    WriteFileText(path, "old");
    g_bModified = 1;

    CSaveOutcome savedOld;
    CSaveOutcome savedFresh;
    {
        CFileSizeLimit limit(1024);  // far below the ~20 KB of a settings file
        savedOld = SaveSettingsFile(path);
        savedFresh = SaveSettingsFile(fresh);
    }
    EXPECT_FALSE(savedOld);
    EXPECT_FALSE(savedFresh);
    const std::string tooLarge = std::strerror(EFBIG);
    EXPECT_EQ(m_sink.boxes,
              (std::vector<RecordedBox>{
                  {BoxKind::kWarning, "Can't file write\n" + path + ": " + tooLarge},
                  {BoxKind::kWarning, "Can't file write\n" + fresh + ": " + tooLarge}}));
    EXPECT_EQ(savedFresh.strWarning, m_sink.boxes.back().text);
    EXPECT_EQ(ReadFileText(path), "old");
    EXPECT_EQ(g_bModified, 1);
    // Neither a temp file nor an empty new target is left behind.
    EXPECT_EQ(FolderEntries(m_dir.Path()), std::vector<std::string>{"keep.dat"});
}

}  // namespace
