// The link as the command-line tool uses it: settings from the profile and the
// options, the port opened, replies interpreted on this thread.
#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/cli_sink.h"
#include "link/line_watchers.h"
#include "link/owed_replies.h"
#include "link/port_setup.h"
#include "link/reply_fault.h"

// Reads the profile, resets the model to its defaults and applies the
// interface, address and model options.
void ApplyLinkSettings(const CCliOptions& options);

// Loads the settings file a run works from; --model, when given, beats the
// file's model line. False (the warning shown) when the file cannot be loaded.
bool LoadRunFile(const CCliOptions& options, const std::string& path);

// The link open for one command: the port and the I/O thread, the last reply
// received and, with --verbose, every line sent and received and each change
// of the link's state on stderr. The link closes when the session ends.
class CLinkSession {
public:
    // Opens the port and starts the I/O thread; a server's port is connected
    // first. With --wait, an absent port is waited for that long. Prints the
    // reason when the port cannot be used; IsOpen() then says false and the
    // link is closed again.
    explicit CLinkSession(const CCliOptions& options);
    ~CLinkSession();
    CLinkSession(const CLinkSession&) = delete;
    CLinkSession& operator=(const CLinkSession&) = delete;

    bool IsOpen() const { return m_bOpen; }
    // The last line received, as it came.
    const std::string& LastReply() const { return m_strLastReply; }

private:
    void Watch(bool verbose);
    bool AwaitPort(int waitS, const CSetupResult& setup);

    bool m_bOpen = false;
    std::string m_strLastReply;
    CSubscription m_replies;
    CSubscription m_sent;
    CSubscription m_states;
};

// Dispatches replies until the line owed under id has had its answer, or a
// line has come that stops a run (an echo of it among them), the reply time
// at most. False when none came, and at once when the port is lost.
bool WaitForAnswer(unsigned long id);

// What stopped a command, as qelvarctl says it: the error reply's text, or why
// the line that came is no answer.
std::string FaultMessage(const CReplyFault& fault);
// "the port echoes what it sends (...)".
std::string EchoText();
// "the reply is not one the switcher gives: "HELLO"".
std::string NotAnAnswerText(std::string_view reply);

// Whether the port has been lost since the link's state counted `losses`
// losses, or is not up now.
bool PortLostSince(unsigned long losses);
// The lost port and why, for messages: "COM1 /dev/ttyUSB0 (Input/output error)".
std::string LostPortText();

// A reply line as shown to the user: no CR LF, no RS-485 address echo.
std::string_view ShownReply(std::string_view line);
