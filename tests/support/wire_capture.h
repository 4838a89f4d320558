// For code tested without a port: the program's start-up state, and every line
// that would go on the wire, in order.
#pragma once

#include <string>
#include <vector>

class CWireCapture {
public:
    CWireCapture();
    ~CWireCapture();
    CWireCapture(const CWireCapture&) = delete;
    CWireCapture& operator=(const CWireCapture&) = delete;
    std::vector<std::string> lines;
};
