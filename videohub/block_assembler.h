// A client's bytes of the Videohub Ethernet protocol joined into blocks: a
// header line ending in a colon, the lines of its body, and a blank line that
// ends it. Every bound is fixed, so a client that never ends a line or a
// block costs a known amount of memory and is then refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct CVideohubBlock {
    std::string strHeader;           // the header line as it came: "VIDEO OUTPUT ROUTING:"
    std::vector<std::string> lines;  // the body, line ends dropped

    bool operator==(const CVideohubBlock&) const = default;
};

inline constexpr size_t kMaxVideohubLine = 1024;
inline constexpr size_t kMaxVideohubBlockLines = 256;

class CBlockAssembler {
public:
    enum class Fed {
        kOk,        // every byte taken; complete blocks were appended
        kOverflow,  // a line or a block ran past its bound: the client is to be dropped
    };

    // Takes LF, CR LF and a lone CR as line ends, whichever way the bytes are
    // split. Blank lines between blocks are skipped.
    Fed Feed(std::string_view bytes, std::vector<CVideohubBlock>& out);

private:
    bool EndLine(std::vector<CVideohubBlock>& out);

    std::string m_line;
    CVideohubBlock m_block;
    bool m_bInBlock = false;
    bool m_bAfterCr = false;
};
