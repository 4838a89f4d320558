// Command-line options of qelvarctl: the global ones before the command, and a
// small reader for each command's own.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

struct CCliOptions {
    std::string strPort;     // --port: a device or a server; empty = the profile's port
    int nWaitS = 0;          // --wait: seconds to wait for an absent port to appear
    int nInterface = -1;     // -1 = the profile's, 0 = --rs232, 1 = --rs485
    int nAddress = 0;        // --rs485 NN
    int nModel = -1;         // -1 = the profile's (or a loaded file's), 0 = 32, 1 = 64
    std::string strProfile;  // --profile
    bool bVerbose = false;
    bool bProgressLines = false;  // --progress-lines: each step a line on stderr, for a program
    bool bHelp = false;
    bool bVersion = false;
    std::string strCommand;
    std::vector<std::string> args;  // what follows the command
};

// Parses argv; false with a message on a usage error.
bool ParseCliOptions(int argc, char** argv, CCliOptions& options, std::string& error);

// "32" or "64" as a model number 0 or 1; nothing for anything else.
std::optional<int> ParseModel(const std::string& text);
// A whole decimal number in lo..hi.
std::optional<int> ParseNumber(const std::string& text, int lo, int hi);
// A local time written "YYYY-MM-DD HH:MM:SS" (a field may have fewer digits,
// none more); the fields are not checked against the calendar here.
std::optional<std::tm> ParseClockTime(const std::string& text);

// Takes a command's own options out of its arguments.
class CCommandArgs {
public:
    explicit CCommandArgs(std::vector<std::string> args) : m_args(std::move(args)) {}

    bool Flag(const std::string& name);
    // "--name VALUE" or "--name=VALUE"; a missing value is a usage error.
    std::optional<std::string> Value(const std::string& name);
    // Every "--name VALUE" (or "--name=VALUE"), in order.
    std::vector<std::string> Values(const std::string& name);
    // What is left: positional arguments; an unknown option is a usage error.
    std::vector<std::string> Positional();

    const std::string& Error() const { return m_error; }

private:
    std::vector<std::string> m_args;
    std::string m_error;
};
