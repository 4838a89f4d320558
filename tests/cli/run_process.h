// Runs a program to its end and collects its exit status and output.
#pragma once

#include <string>
#include <vector>

struct CProcessResult {
    int status = -1;  // exit status, or -1 when it did not exit normally in time
    std::string out;
    std::string err;
};

CProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          int timeoutMs = 60000);
