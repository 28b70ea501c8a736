#include "ProgramArguments.h"

#ifdef _WIN32
#include "Utf8.h"

#include <windows.h>
#include <shellapi.h>
#endif

namespace rom {

#ifdef _WIN32
namespace {

std::string textOf(const wchar_t *argument)
{
    const std::wstring wide(argument);
    return generalizedUtf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

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
