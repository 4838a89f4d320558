// What the program says when its profile cannot be read or written, instead
// of taking it silently as empty: a note in the communication log, and a
// warning box when a setting the user chose cannot be kept. What the user did
// not ask for (the profile at start, the file dialogs' folder) is noted only,
// and each problem once.
#pragma once

#include <string>
#include <vector>

#include "link/comm_log.h"
#include "link/comm_settings.h"

class CProfileProblems {
public:
    explicit CProfileProblems(CCommLog& log) : m_log(log) {}
    CProfileProblems(const CProfileProblems&) = delete;
    CProfileProblems& operator=(const CProfileProblems&) = delete;

    // The profile's settings are not in force at start. bDefaultPort: the
    // port opened is COM1's default device, which the note then names.
    void NotRead(const CProfileFault& fault, bool bDefaultPort);
    // A setting the user chose ("通信の設定") holds until the program ends but
    // is not kept: a box and a note, each time.
    void NotKept(const CProfileFault& fault, const std::string& setting);
    // What the program keeps on its own ("ファイルダイアログのフォルダー") is
    // not kept: a note, the first time.
    void NoteOnce(const CProfileFault& fault, const std::string& what);

    // The device the link opens in place of the one the profile did not keep
    // for the selected COM port (as Link()'s port override); empty for none.
    const std::string& HeldDevice() const { return m_strHeldDevice; }
    void SetHeldDevice(std::string device) { m_strHeldDevice = std::move(device); }

private:
    bool Noted(const CProfileFault& fault);

    CCommLog& m_log;
    std::vector<CProfileFault> m_noted;
    std::string m_strHeldDevice;
};

// "プロファイル PATH を読めません (REASON)", "プロファイル PATH に書き込めません (REASON)".
std::string ProfileFaultText(const CProfileFault& fault);
