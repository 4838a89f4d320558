// The input method switch: the title editor turns Japanese input on while it is
// open and gives the previous state back when it is cancelled.
#pragma once

class CInputMethod {
public:
    virtual ~CInputMethod() = default;
    // Whether the input method is on for the focused input field.
    virtual bool IsOpen() = 0;
    // Turns it on or off for the focused input field (also how a saved state
    // is given back).
    virtual void SetOpen(bool bOpen) = 0;
};

// fcitx5 over D-Bus; it acts on whichever input context has the focus.
class CFcitx5InputMethod : public CInputMethod {
public:
    // Whether fcitx5 runs on the session bus.
    static bool Available();
    bool IsOpen() override;
    void SetOpen(bool bOpen) override;
};

// Where no input method can be switched: only remembers the state it was given.
class CRememberedInputMethod : public CInputMethod {
public:
    bool IsOpen() override { return m_bOpen; }
    void SetOpen(bool bOpen) override { m_bOpen = bOpen; }

private:
    bool m_bOpen = false;
};

// The process's input method: fcitx5 when it runs, else the remembering one.
CInputMethod& SystemInputMethod();
