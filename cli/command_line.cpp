// qelvarctl line, clock and address: single commands, each waiting for its reply.
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "editors/calendar_send.h"
#include "editors/slave_address_send.h"
#include "link/link_context.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/address_lines.h"
#include "protocol/fields.h"
#include "protocol/visible_text.h"

namespace {

// Sends each line and waits for its reply; stops at the first that fails.
// printReplies: each reply goes to stdout as the user sees it.
int Exchange(const std::vector<std::string>& lines, bool printReplies) {
    for (const auto& line : lines) {
        const unsigned long losses = Link().State().Losses();
        g_bErrorReply = 0;
        Link().ClearFault();
        SendCommand(line);
        const unsigned long id = Link().Owed().LastId();
        if (!WaitForAnswer(id)) {
            PrintError(PortLostSince(losses)
                           ? "port lost: " + LostPortText() + " while waiting for the reply to " +
                                 std::string(LineBody(line))
                           : "no reply within 3.5 s");
            return kExitNoReply;
        }
        const auto& fault = Link().LastFault();
        const std::string reply = fault ? fault->strReply : Link().Owed().Answer(id);
        if (printReplies) std::printf("%s\n", VisibleText(ShownReply(reply)).c_str());
        if (fault) {
            PrintError(FaultMessage(*fault));
            return kExitErrorReply;
        }
        // A read answered by anything but the data line it asks for.
        if (Link().LastAnsweredId() == id && Link().LastAnswerKind() == AnswerKind::kUnreadable) {
            PrintError(NotAnAnswerText(reply));
            return kExitErrorReply;
        }
    }
    return kExitOk;
}

int ExchangeOnLink(const CCliOptions& options, const std::vector<std::string>& lines,
                   bool printReplies) {
    ApplyLinkSettings(options);
    CLinkSession link(options);
    if (!link.IsOpen()) return kExitCannotOpen;
    return Exchange(lines, printReplies);
}

std::optional<std::tm> LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!localtime_r(&now, &tm)) return std::nullopt;
    return tm;
}

// The six lines that set a clock to the given time; empty when one is out of range.
std::vector<std::string> ClockLines(const std::tm& tm) {
    CCalendarSelection s = CalendarSelectionFor(tm);
    const std::pair<CalendarItem, int> items[] = {
        {CalendarItem::kYear, s.nYear},     {CalendarItem::kMonth, s.nMonth},
        {CalendarItem::kDay, s.nDay},       {CalendarItem::kHour, s.nHour},
        {CalendarItem::kMinute, s.nMinute}, {CalendarItem::kSecond, s.nSecond},
    };
    std::vector<std::string> lines;
    for (auto [item, index] : items) {
        std::string line = CalendarLine(item, index);
        if (line.empty()) return {};
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

int RunLine(const CCliOptions& options) {
    if (options.args.size() != 1) {
        PrintError("usage: qelvarctl line TEXT");
        return kExitUsage;
    }
    return ExchangeOnLink(options, {options.args[0] + "\r\n"}, true);
}

int RunClock(const CCliOptions& options) {
    CCommandArgs args(options.args);
    auto at = args.Value("--at");
    if (!args.Positional().empty() || !args.Error().empty()) {
        PrintError("usage: qelvarctl clock [--at \"YYYY-MM-DD HH:MM:SS\"]");
        return kExitUsage;
    }
    auto when = at ? ParseClockTime(*at) : LocalNow();
    std::vector<std::string> lines = when ? ClockLines(*when) : std::vector<std::string>{};
    if (lines.empty()) {
        PrintError("the time must lie in the years 2000..2099, as \"YYYY-MM-DD HH:MM:SS\"");
        return kExitUsage;
    }
    return ExchangeOnLink(options, lines, false);
}

int RunAddress(const CCliOptions& options) {
    auto address = options.args.size() == 1 ? ParseNumber(options.args[0], 0, 31) : std::nullopt;
    if (!address) {
        PrintError("usage: qelvarctl address NN   (the new slave address, 00..31)");
        return kExitUsage;
    }
    return ExchangeOnLink(options, {FormatSlaveAddressLine(*address)}, true);
}
