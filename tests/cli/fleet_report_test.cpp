#include "cli/fleet_report.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include <string>
#include <vector>

#include "cli/json_text.h"
#include "cli/utf8_text.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::string_literals;

CFleetResult Result(std::string name, std::string port, int address, int model, int status,
                    double seconds, std::vector<std::string> details = {}) {
    CFleetResult r;
    r.switcher = {std::move(name), std::move(port), address, model, "", 1};
    r.nStatus = status;
    r.dSeconds = seconds;
    r.details = std::move(details);
    return r;
}

// The results with their words, as the runner gives them.
CFleetReport Report(FleetCommand command, std::vector<CFleetResult> results, double seconds) {
    for (CFleetResult& r : results) r.strResult = FleetResultWord(command, r.nStatus, r.details);
    return {command, "sites/hq.ini", std::move(results), seconds};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        lines.push_back(text.substr(begin, end - begin));
    }
    EXPECT_EQ(begin, text.size()) << "the text ends with a line end";
    return lines;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(FleetResultTest, StatusIsZeroOnlyWhenEverySwitcherSucceededElseTheHighest) {
    const auto status = [](std::vector<int> statuses) {
        std::vector<CFleetResult> results;
        for (int s : statuses) results.push_back(Result("a", "/dev/ttyS0", -1, -1, s, 0));
        return FleetStatus(Report(FleetCommand::kSend, results, 0));
    };
    EXPECT_EQ(status({}), 0);
    EXPECT_EQ(status({0, 0, 0}), 0);
    EXPECT_EQ(status({0, 6, 2, 0}), 6);
    EXPECT_EQ(status({4, 143, 6}), 143);
    EXPECT_EQ(status({0, -1}), 255);  // no exit status at all is never a success
}

TEST(FleetResultTest, EachStatusHasItsWordAndALostPortIsToldFromSilence) {
    const std::vector<std::pair<int, std::string>> words = {
        {0, "ok"},          {1, "usage error"},       {2, "absent"},
        {3, "error reply"}, {4, "no reply"},          {5, "refused"},
        {6, "differs"},     {7, "failed (status 7)"}, {130, "failed (status 130)"}};
    for (const auto& [status, word] : words) {
        EXPECT_EQ(FleetResultWord(FleetCommand::kSend, status, {}), word);
    }
    EXPECT_EQ(FleetResultWord(FleetCommand::kCheck, 6, {}), "model differs");
    const auto word4 = [](std::vector<std::string> lines) {
        return FleetResultWord(FleetCommand::kDiff, 4, lines);
    };
    EXPECT_EQ(word4({"reading 3/9", "port lost: /dev/ttyUSB0: stopped"}), "port lost");
    EXPECT_EQ(word4({"qelvarctl: port lost: /dev/ttyUSB0 while waiting"}), "port lost");
    EXPECT_EQ(word4({"no reply within 3.5 s"}), "no reply");
    EXPECT_EQ(word4({"title 'port lost' of input 03"}), "no reply");
    EXPECT_EQ(FleetResultWord(FleetCommand::kSend, 3, {"port lost: x"}), "error reply");
}

TEST(FleetReportTest, DisplayWidthCountsWideCharactersTwiceWithoutTheLocale) {
    EXPECT_EQ(DisplayWidth("rack-1 east"), 11);
    EXPECT_EQ(DisplayWidth("ラック東"), 8);
    EXPECT_EQ(DisplayWidth("ｱｲｳ"), 3);               // half-width katakana
    EXPECT_EQ(DisplayWidth("ＡＢ、。"), 8);          // fullwidth forms, ideographic punctuation
    EXPECT_EQ(DisplayWidth("か\xE3\x82\x99"), 2);    // a decomposed が
    EXPECT_EQ(DisplayWidth("\xF0\xA0\x80\x8B"), 2);  // beyond the BMP
    EXPECT_EQ(DisplayWidth("a\xFF\xE3\x81"), 4);     // invalid bytes, one column each
    for (const std::string& bad :
         {"\xC0\x80"s, "\xED\xA0\x80"s, "\xF4\x90\x80\x80"s, "\xE3\x41"s}) {
        EXPECT_FALSE(FirstUtf8Char(bad).bValid) << ValidUtf8(bad);
    }
    EXPECT_EQ(ValidUtf8("a\xC0\x80東"), "a\xEF\xBF\xBD\xEF\xBF\xBD東");
}

TEST(FleetReportTest, TableColumnsLineUpByDisplayWidth) {
    const CFleetReport report = Report(
        FleetCommand::kSend,
        {Result("ラック東", "rfc2217://10.0.4.11:2217", 5, 0, 0, 12.34),
         Result("rack-2", "/dev/ttyUSB1", -1, 1, 6, 3.26,
                {"output 07 of memory 12: file I03, switcher A01", "title of input 03", "date"}),
         Result("倉庫-3", "tcp://10.0.4.12:4001", 31, -1, 2, 0.01, {"did not open"})},
        45.2);
    const std::string table = FleetTable(report);
    EXPECT_EQ(table,
              "NAME      PORT                      ADDR  MODEL  RESULT     TIME  DETAIL\n"
              "ラック東  rfc2217://10.0.4.11:2217  05    32     ok       12.3 s\n"
              "rack-2    /dev/ttyUSB1              -     64     differs   3.3 s  output 07 of "
              "memory 12: file I03, switcher A01 (+2 more)\n"
              "倉庫-3    tcp://10.0.4.12:4001      31    -      absent    0.0 s  did not open\n"
              "3 switchers: 1 ok, 1 differs, 1 absent (45.2 s)\n");

    const auto lines = Lines(table);
    ASSERT_EQ(lines.size(), 5u);
    const auto column = [](const std::string& line, const std::string& cell) {
        return DisplayWidth(line.substr(0, line.find(cell)));
    };
    for (size_t i = 0; i < report.results.size(); ++i) {
        const CFleetResult& r = report.results[i];
        EXPECT_EQ(column(lines[i + 1], r.switcher.strPort), column(lines[0], "PORT"));
        EXPECT_EQ(column(lines[i + 1], " " + r.strResult + " "), column(lines[0], " RESULT"));
        EXPECT_EQ(column(lines[i + 1], " s") + 2, column(lines[0], "TIME") + 4);
    }
}

TEST(FleetReportTest, TableShowsControlsAsTextCheckAnswersAndSumsOkFirst) {
    CFleetReport report =
        Report(FleetCommand::kCheck,
               {Result("evil\x1b[2J", "/dev/ttyS0", -1, 0, 6, 1, {"inventory says 32"}),
                Result("b", "/dev/ttyS1", -1, -1, 0, 1), Result("c", "/dev/ttyS2", -1, -1, 2, 1),
                Result("d", "/dev/ttyS3", -1, -1, 0, 1)},
               9.96);
    report.results[0].strAnswer = "Qelvar-64";
    report.results[1].strAnswer = "Qelvar-32";
    const auto lines = Lines(FleetTable(report));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1],
              "evil\\x1b[2J  /dev/ttyS0  -     32     model differs  1.0 s  answers Qelvar-64; "
              "inventory says 32");
    EXPECT_EQ(lines[2],
              "b            /dev/ttyS1  -     -      ok             1.0 s  answers Qelvar-32");
    EXPECT_EQ(lines[5], "4 switchers: 2 ok, 1 model differs, 1 absent (10.0 s)");
    EXPECT_EQ(FleetTable(Report(FleetCommand::kSend, {}, 0)),
              "NAME  PORT  ADDR  MODEL  RESULT  TIME  DETAIL\n0 switchers (0.0 s)\n");
}

TEST(FleetReportTest, JsonOfACheckIsExact) {
    CFleetReport report =
        Report(FleetCommand::kCheck,
               {Result("rack-1 east", "rfc2217://10.0.4.11:2217", 5, 0, 0, 1.5),
                Result("hall", "/dev/ttyUSB0", -1, 1, 6, 2.25, {"inventory says 64"}),
                Result("loft", "/dev/ttyS0", -1, -1, 4, 3.5, {"no reply within 3.5 s"})},
               7.25);
    report.results[0].strAnswer = "Qelvar-32";
    report.results[1].strAnswer = "Qelvar-32";
    EXPECT_EQ(
        FleetJson(report),
        "{\"command\": \"check\", \"inventory\": \"sites/hq.ini\", \"status\": 6, \"ok\": "
        "false, \"seconds\": 7.250, \"switchers\": [\n"
        "  {\"name\": \"rack-1 east\", \"port\": \"rfc2217://10.0.4.11:2217\", \"address\": "
        "\"05\", \"model\": \"32\", \"answered_model\": \"Qelvar-32\", \"result\": \"ok\", "
        "\"status\": 0, \"seconds\": 1.500, \"details\": []},\n"
        "  {\"name\": \"hall\", \"port\": \"/dev/ttyUSB0\", \"address\": null, \"model\": "
        "\"64\", \"answered_model\": \"Qelvar-32\", \"result\": \"model differs\", "
        "\"status\": 6, \"seconds\": 2.250, \"details\": [\"inventory says 64\"]},\n"
        "  {\"name\": \"loft\", \"port\": \"/dev/ttyS0\", \"address\": null, \"model\": null, "
        "\"answered_model\": null, \"result\": \"no reply\", \"status\": 4, \"seconds\": "
        "3.500, \"details\": [\"no reply within 3.5 s\"]}\n"
        "]}\n");
    EXPECT_EQ(
        FleetJson(Report(FleetCommand::kBackup, {}, std::numeric_limits<double>::quiet_NaN())),
        "{\"command\": \"backup\", \"inventory\": \"sites/hq.ini\", \"status\": 0, \"ok\": "
        "true, \"seconds\": 0.000, \"switchers\": []}\n");
}

TEST(FleetReportTest, JsonEscapesEveryStringAndMendsBrokenUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c/d"), R"("a\"b\\c/d")");
    EXPECT_EQ(JsonString("\n\t\x01\x1f\x7f"s + '\0'),
              "\"\\u000a\\u0009\\u0001\\u001f\x7f\\u0000\"");
    EXPECT_EQ(JsonString("東京 \xFF!"), "\"東京 \xEF\xBF\xBD!\"");

    CFleetReport report = Report(
        FleetCommand::kDiff, {Result("q\"b\\\x1b", "/dev/ttyS0", -1, -1, 6, 12.3456, {"x\ny"})}, 1);
    report.strInventory = "C:\\fleet\".ini";
    const std::string json = FleetJson(report);
    EXPECT_NE(json.find(R"("inventory": "C:\\fleet\".ini")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("name": "q\"b\\\u001b")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("seconds": 12.346, "details": ["x\u000ay"])"), std::string::npos)
        << json;
    EXPECT_EQ(json.find("answered_model"), std::string::npos);
}

TEST(FleetReportTest, JunitOfADiffIsExactWithItsTextEscaped) {
    const std::string junit =
        FleetJunit(Report(FleetCommand::kDiff,
                          {Result("rack <1> & \"east\"", "/dev/ttyUSB0", 5, 0, 0, 1),
                           Result("hall\t\n\x02", "tcp://10.0.4.12:4001", -1, -1, 6, 3.5,
                                  {"title of input 03: file <A>, switcher B&C", "x\x01y\rz\xFF"})},
                          4.5));
    EXPECT_EQ(junit,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<testsuites name=\"qelvarctl fleet diff\" tests=\"2\" failures=\"1\" errors=\"0\" "
              "time=\"4.500\">\n"
              "  <testsuite name=\"qelvarctl fleet diff\" tests=\"2\" failures=\"1\" "
              "errors=\"0\" time=\"4.500\">\n"
              "    <testcase classname=\"fleet.diff\" name=\"rack &lt;1&gt; &amp; "
              "&quot;east&quot;\" time=\"1.000\">\n"
              "      <system-out>port: /dev/ttyUSB0\naddress: 05\nmodel: 32\n</system-out>\n"
              "    </testcase>\n"
              "    <testcase classname=\"fleet.diff\" name=\"hall&#9;&#10;\xEF\xBF\xBD\" "
              "time=\"3.500\">\n"
              "      <failure message=\"differs\" type=\"differs\">title of input 03: file "
              "&lt;A&gt;, switcher B&amp;C\nx\xEF\xBF\xBDy&#13;z\xEF\xBF\xBD</failure>\n"
              "      <system-out>port: tcp://10.0.4.12:4001\naddress: - (RS-232C)\nmodel: "
              "-\n</system-out>\n"
              "    </testcase>\n"
              "  </testsuite>\n"
              "</testsuites>\n");
}

TEST(FleetReportTest, JunitFailsWhatDiffersAndErrsOnTheLink) {
    std::vector<CFleetResult> results;
    for (int status : {0, 6, 5, 2, 4, 3, 143}) {
        results.push_back(Result("s" + std::to_string(status), "/dev/ttyS0", -1, -1, status, 1));
    }
    results.push_back(Result("lost", "/dev/ttyS6", -1, -1, 4, 1, {"port lost: /dev/ttyS6"}));
    const std::string junit = FleetJunit(Report(FleetCommand::kSend, results, 7));
    EXPECT_EQ(Count(junit, " tests=\"8\" failures=\"2\" errors=\"5\" "), 2u) << junit;
    EXPECT_EQ(Count(junit, "<testcase classname=\"fleet.send\" "), 8u);
    EXPECT_EQ(Count(junit, "<failure "), 2u);
    EXPECT_EQ(Count(junit, "<error "), 5u);
    EXPECT_EQ(Count(junit, "<failure message=\"refused\" type=\"refused\"/>"), 1u);
    EXPECT_EQ(Count(junit, "<error message=\"failed (status 143)\" type=\"failed (status 143)\"/>"),
              1u);
    EXPECT_EQ(
        Count(junit, "<error message=\"port lost\" type=\"port lost\">port lost: /dev/ttyS6<"), 1u);
}

TEST(FleetReportTest, ReportFileIsReplacedOrSaysWhatCannotBeWrittenAndWhy) {
    CTempDir dir;
    std::string error;
    const std::string path = dir.File("report.json");
    ASSERT_TRUE(WriteReportFile(path, "first\n", error)) << error;
    ASSERT_TRUE(WriteReportFile(path, "{\"ok\": true}\n", error)) << error;
    EXPECT_EQ(ReadFileText(path), "{\"ok\": true}\n");

    const std::string missing = dir.File("no/such/report.xml");
    EXPECT_FALSE(WriteReportFile(missing, "x", error));
    EXPECT_EQ(error, "cannot write " + missing + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(WriteReportFile(dir.Path(), "x", error));
    EXPECT_EQ(error, "cannot write " + dir.Path() + ": " + std::strerror(EISDIR));
}

}  // namespace
