#pragma once

#include <string>
#include <vector>

namespace rom {

// A program's command line as text that FilePath takes whole: on POSIX
// systems the bytes of argv as given; on Windows the UTF-16 command line in
// generalized UTF-8, never the ANSI code page's form that main's argv holds
// (in which a name outside that code page no longer names its file).
class ProgramArguments {
public:
    // On Windows, argv is left for the system's own UTF-16 command line.
    ProgramArguments(int argc, char **argv);
#ifdef _WIN32
    // wmain's arguments.
    ProgramArguments(int argc, wchar_t **argv);
#endif
    ProgramArguments(const ProgramArguments &) = delete;
    ProgramArguments &operator=(const ProgramArguments &) = delete;

    [[nodiscard]] int count() const { return int(m_texts.size()); }
    // As argv: count() texts, then a null pointer.
    [[nodiscard]] char **values() { return m_values.data(); }

private:
    void point();

    std::vector<std::string> m_texts;
    std::vector<char *> m_values;
};

} // namespace rom
