#include "cli/fleet_report.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "cli/exit_codes.h"
#include "cli/json_text.h"
#include "cli/utf8_text.h"
#include "model/file_io.h"
#include "protocol/fields.h"
#include "protocol/visible_text.h"

namespace {

// Seconds with a fixed number of decimals, the same in every locale (a JSON
// number never takes a decimal comma); a time that makes no sense shows as 0.
std::string Seconds(double seconds, int decimals) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, decimals);
    return end.ec == std::errc() ? std::string(text, end.ptr) : "0";
}

// "05", or nothing for RS-232C.
std::string Address(const CFleetSwitcher& sw) {
    return sw.nAddress < 0 ? "" : TwoDigits(sw.nAddress);
}

// "32", "64", or nothing when the inventory gives no model.
std::string Model(const CFleetSwitcher& sw) {
    return sw.nModel == 0 ? "32" : sw.nModel == 1 ? "64" : "";
}

std::string ResultWord(FleetCommand command, const CFleetResult& r) {
    return r.strResult.empty() ? FleetResultWord(command, r.nStatus, r.details) : r.strResult;
}

// The switcher does not hold what it should; anything else that is not ok is
// its link or its command going wrong.
bool IsFailure(int status) {
    return status == kExitRefused || status == kExitDiffers;
}

// ---- the table

constexpr size_t kColumns = 7;
constexpr size_t kTimeColumn = 5;
using Row = std::array<std::string, kColumns>;

std::string DetailCell(FleetCommand command, const CFleetResult& r) {
    std::string cell;
    if (command == FleetCommand::kCheck && !r.strAnswer.empty()) cell = "answers " + r.strAnswer;
    if (!r.details.empty()) {
        if (!cell.empty()) cell += "; ";
        cell += r.details.front();
        if (r.details.size() > 1) cell += " (+" + std::to_string(r.details.size() - 1) + " more)";
    }
    return VisibleText(cell);
}

Row TableRow(FleetCommand command, const CFleetResult& r) {
    const std::string address = Address(r.switcher);
    const std::string model = Model(r.switcher);
    return {VisibleText(r.switcher.strName),
            VisibleText(r.switcher.strPort),
            address.empty() ? "-" : address,
            model.empty() ? "-" : model,
            VisibleText(ResultWord(command, r)),
            Seconds(r.dSeconds, 1) + " s",
            DetailCell(command, r)};
}

std::string Padded(const std::string& cell, int width, bool right) {
    const std::string pad(static_cast<size_t>(std::max(0, width - DisplayWidth(cell))), ' ');
    return right ? pad + cell : cell + pad;
}

std::string TableLine(const Row& row, const std::array<int, kColumns>& widths) {
    std::string line;
    for (size_t i = 0; i + 1 < kColumns; ++i) {
        line += Padded(row[i], widths[i], i == kTimeColumn) + "  ";
    }
    line += row.back();
    line.erase(line.find_last_not_of(' ') + 1);
    return line + "\n";
}

// "10 switchers: 8 ok, 1 differs, 1 absent (45.2 s)": ok first, then the other
// results as they first come.
std::string SummaryLine(const CFleetReport& report) {
    std::vector<std::pair<std::string, int>> counts{{"ok", 0}};
    for (const CFleetResult& r : report.results) {
        const std::string word = r.nStatus == kExitOk ? "ok" : ResultWord(report.command, r);
        auto it = std::find_if(counts.begin(), counts.end(),
                               [&](const auto& count) { return count.first == word; });
        if (it == counts.end()) it = counts.insert(counts.end(), {word, 0});
        ++it->second;
    }
    const size_t n = report.results.size();
    std::string line = std::to_string(n) + (n == 1 ? " switcher" : " switchers");
    const char* separator = ": ";
    for (const auto& [word, count] : counts) {
        if (count == 0) continue;
        line += separator + std::to_string(count) + " " + VisibleText(word);
        separator = ", ";
    }
    return line + " (" + Seconds(report.dSeconds, 1) + " s)\n";
}

// ---- JSON

std::string JsonOrNull(const std::string& text) {
    return text.empty() ? "null" : JsonString(text);
}

std::string JsonSwitcher(FleetCommand command, const CFleetResult& r) {
    std::string out = "{\"name\": " + JsonString(r.switcher.strName);
    out += ", \"port\": " + JsonString(r.switcher.strPort);
    out += ", \"address\": " + JsonOrNull(Address(r.switcher));
    out += ", \"model\": " + JsonOrNull(Model(r.switcher));
    if (command == FleetCommand::kCheck) out += ", \"answered_model\": " + JsonOrNull(r.strAnswer);
    out += ", \"result\": " + JsonString(ResultWord(command, r));
    out += ", \"status\": " + std::to_string(r.nStatus);
    out += ", \"seconds\": " + Seconds(r.dSeconds, 3);
    out += ", \"details\": [";
    for (size_t i = 0; i < r.details.size(); ++i) out += (i ? ", " : "") + JsonString(r.details[i]);
    return out + "]}";
}

// ---- JUnit XML

// Text for an element's content or an attribute's value. Characters XML 1.0
// forbids, and bytes that are no UTF-8, become U+FFFD; in an attribute, tab and
// line ends are written as references, which a reader would otherwise fold
// into spaces; a CR in content likewise, which it would turn into a LF.
std::string XmlText(std::string_view text, bool attribute) {
    std::string out;
    while (!text.empty()) {
        const CUtf8Char c = FirstUtf8Char(text);
        const char32_t code = c.code;
        if (!c.bValid || code == 0xFFFE || code == 0xFFFF ||
            (code < 0x20 && code != '\t' && code != '\n' && code != '\r')) {
            out += kReplacementChar;
        } else if (code == '&') {
            out += "&amp;";
        } else if (code == '<') {
            out += "&lt;";
        } else if (code == '>') {
            out += "&gt;";
        } else if (code == '"') {
            out += "&quot;";
        } else if (code == '\r' || (attribute && code < 0x20)) {
            out += "&#" + std::to_string(static_cast<unsigned>(code)) + ";";
        } else {
            out += text.substr(0, c.nBytes);
        }
        text.remove_prefix(c.nBytes);
    }
    return out;
}

std::string Attribute(const char* name, std::string_view value) {
    return std::string(" ") + name + "=\"" + XmlText(value, true) + "\"";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
    return out;
}

// What went wrong, as a failure or an error element; nothing when it is ok.
std::string JunitOutcome(FleetCommand command, const CFleetResult& r) {
    if (r.nStatus == kExitOk) return "";
    const char* element = IsFailure(r.nStatus) ? "failure" : "error";
    const std::string word = ResultWord(command, r);
    std::string out =
        std::string("      <") + element + Attribute("message", word) + Attribute("type", word);
    if (r.details.empty()) return out + "/>\n";
    return out + ">" + XmlText(Joined(r.details), false) + "</" + element + ">\n";
}

std::string JunitSystemOut(FleetCommand command, const CFleetResult& r) {
    const std::string address = Address(r.switcher);
    const std::string model = Model(r.switcher);
    std::string out = "port: " + r.switcher.strPort + "\n";
    out += "address: " + (address.empty() ? std::string("- (RS-232C)") : address) + "\n";
    out += "model: " + (model.empty() ? std::string("-") : model) + "\n";
    if (command == FleetCommand::kCheck && !r.strAnswer.empty()) {
        out += "answered model: " + r.strAnswer + "\n";
    }
    return "      <system-out>" + XmlText(out, false) + "</system-out>\n";
}

std::string JunitCase(FleetCommand command, const CFleetResult& r) {
    const std::string classname = std::string("fleet.") + FleetCommandName(command);
    return "    <testcase" + Attribute("classname", classname) +
           Attribute("name", r.switcher.strName) + Attribute("time", Seconds(r.dSeconds, 3)) +
           ">\n" + JunitOutcome(command, r) + JunitSystemOut(command, r) + "    </testcase>\n";
}

// tests, failures, errors and time, as both the suite and the suites carry them.
std::string JunitCounts(const CFleetReport& report) {
    size_t failures = 0, errors = 0;
    for (const CFleetResult& r : report.results) {
        if (r.nStatus == kExitOk) continue;
        ++(IsFailure(r.nStatus) ? failures : errors);
    }
    return Attribute("tests", std::to_string(report.results.size())) +
           Attribute("failures", std::to_string(failures)) +
           Attribute("errors", std::to_string(errors)) +
           Attribute("time", Seconds(report.dSeconds, 3));
}

}  // namespace

std::string FleetTable(const CFleetReport& report) {
    std::vector<Row> rows{{"NAME", "PORT", "ADDR", "MODEL", "RESULT", "TIME", "DETAIL"}};
    for (const CFleetResult& r : report.results) rows.push_back(TableRow(report.command, r));
    std::array<int, kColumns> widths{};
    for (const Row& row : rows) {
        for (size_t i = 0; i < kColumns; ++i) widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
    std::string out;
    for (const Row& row : rows) out += TableLine(row, widths);
    return out + SummaryLine(report);
}

std::string FleetJson(const CFleetReport& report) {
    const int status = FleetStatus(report);
    std::string out = "{\"command\": " + JsonString(FleetCommandName(report.command));
    out += ", \"inventory\": " + JsonString(report.strInventory);
    out += ", \"status\": " + std::to_string(status);
    out += ", \"ok\": " + std::string(status == kExitOk ? "true" : "false");
    out += ", \"seconds\": " + Seconds(report.dSeconds, 3);
    out += ", \"switchers\": [";
    for (size_t i = 0; i < report.results.size(); ++i) {
        out += i ? ",\n  " : "\n  ";
        out += JsonSwitcher(report.command, report.results[i]);
    }
    return out + (report.results.empty() ? "]}\n" : "\n]}\n");
}

std::string FleetJunit(const CFleetReport& report) {
    const std::string suite = std::string("qelvarctl fleet ") + FleetCommandName(report.command);
    const std::string counts = JunitCounts(report);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<testsuites" + Attribute("name", suite) + counts + ">\n";
    out += "  <testsuite" + Attribute("name", suite) + counts + ">\n";
    for (const CFleetResult& r : report.results) out += JunitCase(report.command, r);
    return out + "  </testsuite>\n</testsuites>\n";
}

bool WriteReportFile(const std::string& path, const std::string& text, std::string& error,
                     CTempFileTracker* tracker) {
    const CWriteOutcome outcome = WriteFileAtomically(path, text, tracker);
    if (outcome == WriteResult::kOk) return true;
    // The outcome's reason names the path already ("PATH: REASON").
    error = "cannot write " +
            (outcome.strReason.empty() ? path + ": " + std::strerror(ENOENT) : outcome.strReason);
    return false;
}
