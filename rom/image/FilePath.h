#pragma once

#include <filesystem>
#include <string>

namespace rom {

// A file's name as the system takes it: on POSIX systems the bytes given,
// never decoded; on Windows UTF-16, never passed through the ANSI code page.
// Its text (a std::string, as the command line and the window hand names
// over, and as messages show them) is those bytes on POSIX systems and
// generalized UTF-8 on Windows, which gives every UTF-16 name back whole.
class FilePath {
public:
    FilePath() = default;
    FilePath(std::filesystem::path path) : m_path(std::move(path)) {}
    FilePath(const std::string &text);
    FilePath(const char *text) : FilePath(std::string(text)) {}

    // The name for the system's calls.
    [[nodiscard]] const std::filesystem::path &system() const { return m_path; }
    [[nodiscard]] std::string text() const;
    [[nodiscard]] bool empty() const { return m_path.empty(); }
    // The system would stop reading the name at a NUL, and so name another file.
    [[nodiscard]] bool holdsNul() const;

    friend bool operator==(const FilePath &a, const FilePath &b) { return a.m_path.native() == b.m_path.native(); }

private:
    std::filesystem::path m_path;
};

} // namespace rom
