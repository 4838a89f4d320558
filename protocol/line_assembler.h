// Joins received bytes into reply lines. A line ends at every LF; CR is an
// ordinary byte. A line that grows past 399 bytes without its LF is dropped
// whole and assembly resumes after the next LF.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class CLineAssembler {
public:
    static constexpr size_t kMaxLine = 399;  // LF included

    using LineHandler = std::function<void(std::string line)>;

    // Adds bytes; calls onLine once for each line completed, in order.
    void Feed(std::string_view bytes, const LineHandler& onLine);

    // Bytes gathered so far for the line being received.
    size_t Pending() const { return m_line.size(); }
    void Reset();

private:
    std::string m_line;
    bool m_bDropping = false;
};
