#include "ProgramArguments.h"

#ifdef _WIN32
#include "FilePath.h"

#include <windows.h>
#include <shellapi.h>
#endif

namespace rom {

#ifdef _WIN32
namespace {

// As FilePath gives a name's text, so that the text names the file again.
std::string textOf(const wchar_t *argument) { return FilePath(std::filesystem::path(argument)).text(); }

} // namespace

ProgramArguments::ProgramArguments(int, char **)
{
    int argc = 0;
    wchar_t **argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 0; argv && i < argc; ++i)
        m_texts.push_back(textOf(argv[i]));
    ::LocalFree(argv);
    point();
}

ProgramArguments::ProgramArguments(int argc, wchar_t **argv)
{
    for (int i = 0; i < argc; ++i)
        m_texts.push_back(textOf(argv[i]));
    point();
}
#else
ProgramArguments::ProgramArguments(int argc, char **argv) : m_texts(argv, argv + argc) { point(); }
#endif

void ProgramArguments::point()
{
    for (std::string &text : m_texts)
        m_values.push_back(text.data());
    m_values.push_back(nullptr);
}

} // namespace rom
