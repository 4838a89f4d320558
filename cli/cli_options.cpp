#include "cli/cli_options.h"

#include <charconv>
#include <cstdio>

#include "editors/calendar_send.h"

std::optional<int> ParseNumber(const std::string& text, int lo, int hi) {
    int value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

std::optional<int> ParseModel(const std::string& text) {
    if (text == "32") return 0;
    if (text == "64") return 1;
    return std::nullopt;
}

std::optional<std::tm> ParseClockTime(const std::string& text) {
    // The widths keep each number small: a longer one would overflow the date
    // arithmetic or wrap into a valid year.
    int year, month, day, hour, minute, second;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                    &second, &tail) != 6) {
        return std::nullopt;
    }
    return CalendarTime(year, month, day, hour, minute, second);
}

namespace {

// One global option at argv[i]; advances i past its value. False on a usage error.
bool TakeGlobalOption(int argc, char** argv, int& i, CCliOptions& o, std::string& error) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
        if (i + 1 >= argc) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        return std::string(argv[++i]);
    };
    if (arg == "--rs232") {
        o.nInterface = 0;
    } else if (arg == "--verbose") {
        o.bVerbose = true;
    } else if (arg == "--progress-lines") {
        o.bProgressLines = true;
    } else if (arg == "--help" || arg == "-h") {
        o.bHelp = true;
    } else if (arg == "--version") {
        o.bVersion = true;
    } else if (arg == "--port") {
        auto v = value();
        if (!v) return false;
        o.strPort = *v;
    } else if (arg == "--wait") {
        auto v = value();
        if (!v) return false;
        auto seconds = ParseNumber(*v, 0, 86400);
        if (!seconds) {
            error = "--wait takes a number of seconds, 0..86400";
            return false;
        }
        o.nWaitS = *seconds;
    } else if (arg == "--profile") {
        auto v = value();
        if (!v) return false;
        o.strProfile = *v;
    } else if (arg == "--rs485") {
        auto v = value();
        if (!v) return false;
        auto address = ParseNumber(*v, 0, 31);
        if (!address) {
            error = "--rs485 takes a slave address 00..31";
            return false;
        }
        o.nInterface = 1;
        o.nAddress = *address;
    } else if (arg == "--model") {
        auto v = value();
        if (!v) return false;
        auto model = ParseModel(*v);
        if (!model) {
            error = "--model takes 32 or 64";
            return false;
        }
        o.nModel = *model;
    } else {
        error = "unknown option " + arg;
        return false;
    }
    return true;
}

}  // namespace

bool ParseCliOptions(int argc, char** argv, CCliOptions& o, std::string& error) {
    int i = 1;
    for (; i < argc && std::string(argv[i]).starts_with("-"); ++i) {
        if (!TakeGlobalOption(argc, argv, i, o, error)) return false;
    }
    if (i < argc) o.strCommand = argv[i++];
    for (; i < argc; ++i) o.args.emplace_back(argv[i]);
    if (o.strCommand.empty() && !o.bHelp && !o.bVersion) {
        error = "no command given";
        return false;
    }
    return true;
}

bool CCommandArgs::Flag(const std::string& name) {
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (*it == name) {
            m_args.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> CCommandArgs::Value(const std::string& name) {
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (it->starts_with(name + "=")) {
            std::string v = it->substr(name.size() + 1);
            m_args.erase(it);
            return v;
        }
        if (*it != name) continue;
        if (it + 1 == m_args.end()) {
            m_error = name + " needs a value";
            m_args.erase(it);
            return std::nullopt;
        }
        std::string v = *(it + 1);
        m_args.erase(it, it + 2);
        return v;
    }
    return std::nullopt;
}

std::vector<std::string> CCommandArgs::Values(const std::string& name) {
    std::vector<std::string> values;
    while (auto value = Value(name)) values.push_back(*value);
    return values;
}

std::vector<std::string> CCommandArgs::Positional() {
    for (const auto& arg : m_args) {
        if (arg.starts_with("--") && m_error.empty()) m_error = "unknown option " + arg;
    }
    return m_args;
}
