// A small INI reader and writer for the program's private profile, in the
// layout Qt's QSettings (IniFormat) also reads: "[Section]" headers and
// "key=value" lines. As the Windows profile calls did, section and key names
// match without regard to case and white space around names and values is
// ignored; a ";" or "#" after white space starts a comment, also after a value.
// Writing keeps every other section, key and comment, and a replaced value
// keeps the comment that followed it.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Whether a profile was read or written, and when not, why: the system's
// message for the error ("Permission denied"), or what the path is instead.
// A section or key of the text and the 1-based line it stands on in Text()
// (after Load, the file's line).
struct CIniName {
    std::string name;
    int nLine = 0;
    bool operator==(const CIniName&) const = default;
};

struct CIniResult {
    bool bOk = true;
    std::string strReason;
    explicit operator bool() const { return bOk; }
};

class CIniFile {
public:
    // Reads path. A missing file is an empty profile and no failure; one that
    // cannot be read (a folder, no permission, not a regular file, a read
    // error) leaves the profile empty too, and says why.
    CIniResult Load(const std::string& path);
    // Writes the profile to path, creating its folder.
    CIniResult Save(const std::string& path) const;

    std::optional<std::string> GetString(const std::string& section, const std::string& key) const;
    // The value as a decimal integer, or fallback when absent or not a number.
    int GetInt(const std::string& section, const std::string& key, int fallback) const;

    void SetString(const std::string& section, const std::string& key, const std::string& value);
    void SetInt(const std::string& section, const std::string& key, int value);

    std::string Text() const;

    // Every section header in file order, as written; a repeated header appears
    // once more (its keys read as the one section's).
    std::vector<CIniName> Sections() const;
    // The section's keys in file order, as written; a key given twice appears
    // twice (GetString reads the first).
    std::vector<CIniName> Keys(const std::string& section) const;
    // The line GetString(section, key) reads, or 0 when the key is absent.
    int KeyLine(const std::string& section, const std::string& key) const;
    // Lines that are no header, key=value, comment or blank line: reading skips them.
    std::vector<int> UnreadLines() const;

private:
    struct Line {
        std::string section;  // the section the line belongs to
        std::string key;      // empty for headers, comments and blank lines
        std::string raw;
        size_t valueBegin = 0;  // the value's place in raw, comment and blanks excluded
        size_t valueEnd = 0;
        bool header = false;
    };
    static Line ParseLine(const std::string& section, std::string raw);
    const Line* Find(const std::string& section, const std::string& key) const;
    std::vector<Line> m_lines;
};
