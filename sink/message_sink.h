// Every message box of the core goes through one sink: the GUI installs Qt
// boxes, the command-line tool stderr, the tests a recorder. Called only on the
// thread that owns the link.
#pragma once

#include <string>

enum class BoxKind {
    kSetupError,  // port set-up; no owner, stop icon, caption "Error"
    kWarning,     // validation and file errors; exclamation icon, caption "Error"
    kReplyError,  // error replies and "No Connect"; stop icon, caption "Error"
    kSuccess,     // "Success" for a "GO" reply; no icon, caption "設定完了"
    kQuestion,    // a Yes/No question of the File commands; the application's title
    kNotice,      // a plain message with OK and no icon; the application's title
};

class CMessageSink {
public:
    virtual ~CMessageSink() = default;
    // Shows the box and returns once it has been dismissed. A GUI sink beeps first.
    virtual void ShowBox(BoxKind kind, const std::string& text) = 0;
    // Asks a Yes/No question; true for Yes. Where nobody can answer, No.
    virtual bool AskYesNo(const std::string& text);
    // Asks whether to go on, with a button of its own for each answer (the
    // first goes on); true to go on. The box and Esc may cancel. Where the
    // sink has no such buttons, the question is asked as a Yes/No one.
    virtual bool AskGoOn(const std::string& text, const std::string& goOn,
                         const std::string& cancel);
};

// Writes "Caption: text" lines to stderr; the sink in force until another is installed.
class CStderrSink : public CMessageSink {
public:
    void ShowBox(BoxKind kind, const std::string& text) override;
};

// Installs the sink (not owned); nullptr goes back to the stderr sink.
void SetMessageSink(CMessageSink* sink);

const char* BoxCaption(BoxKind kind);

void ShowSetupError(const std::string& text);
void ShowWarning(const std::string& text);
void ShowReplyError(const std::string& text);
void ShowSuccess();
void ShowNotice(const std::string& text);
bool AskQuestion(const std::string& text);
bool AskGoOn(const std::string& text, const std::string& goOn, const std::string& cancel);
