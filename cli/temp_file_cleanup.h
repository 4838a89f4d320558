// qelvarctl's guard for a save in flight: SIGINT, SIGTERM or SIGHUP while a
// settings file is written removes its temporary file, then ends the process
// as the signal would have. The GUI has no use for it and never installs it.
#pragma once

#include <signal.h>

#include <string>

#include "model/file_io.h"

class CTempFileCleanup : public CTempFileTracker {
public:
    // Installs the handlers (a signal that was ignored stays ignored); one
    // object at a time.
    CTempFileCleanup();
    // Puts the previous handlers back.
    ~CTempFileCleanup();
    CTempFileCleanup(const CTempFileCleanup&) = delete;
    CTempFileCleanup& operator=(const CTempFileCleanup&) = delete;

    void TempFileBegins(const std::string& path) override;
    void TempFileEnds() override;

private:
    std::string m_strPath;  // the file the handler removes, while it is published
    struct sigaction m_old[3]{};
};
