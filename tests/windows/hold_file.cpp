// Holds a file as another Windows program would while a command runs, for
// the command-line tests of shop-table.exe:
//   hold-file --lock|--deny-write|--read-only FILE PROGRAM [ARGUMENT...]
// --lock opens FILE and takes the lock the editor takes on its image;
// --deny-write opens it for reading with a sharing mode that lets others
// read it but not write or delete it; --read-only sets its read-only
// attribute (and clears it after). Exits with PROGRAM's exit status.
#include "FileAccess.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <windows.h>

namespace {

constexpr int kUsage = 2;
constexpr int kCannotHold = 3;

// One argument as CommandLineToArgvW reads it back: quoted when it holds a
// blank or a quote, backslashes doubled where a quote follows them.
std::wstring quoted(const std::wstring &argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    return text.append(2 * backslashes, L'\\') + L"\"";
}

int run(int argc, wchar_t **argv)
{
    std::wstring line;
    for (int i = 0; i < argc; ++i)
        line += (i > 0 ? L" " : L"") + quoted(argv[i]);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process))
        return kCannotHold;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = kCannotHold;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return int(status);
}

int holdLocked(const wchar_t *path, int argc, wchar_t **argv)
{
    rom::FileAccess &files = rom::FileAccess::system();
    const rom::FileHandle file = files.open(std::filesystem::path(path), rom::OpenMode::ReadWrite);
    if (file == rom::kNoFile || files.flock(file, true) != 0)
        return kCannotHold;
    const int status = run(argc, argv);
    files.close(file);
    return status;
}

int holdDenyingWrites(const wchar_t *path, int argc, wchar_t **argv)
{
    const HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kCannotHold;
    const int status = run(argc, argv);
    ::CloseHandle(file);
    return status;
}

int holdReadOnly(const wchar_t *path, int argc, wchar_t **argv)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !::SetFileAttributesW(path, attributes | FILE_ATTRIBUTE_READONLY))
        return kCannotHold;
    const int status = run(argc, argv);
    ::SetFileAttributesW(path, attributes);
    return status;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 4) {
        std::fputs("usage: hold-file --lock|--deny-write|--read-only FILE PROGRAM [ARGUMENT...]\n", stderr);
        return kUsage;
    }
    const std::wstring_view mode = argv[1];
    if (mode == L"--lock")
        return holdLocked(argv[2], argc - 3, argv + 3);
    if (mode == L"--deny-write")
        return holdDenyingWrites(argv[2], argc - 3, argv + 3);
    if (mode == L"--read-only")
        return holdReadOnly(argv[2], argc - 3, argv + 3);
    std::fputs("hold-file: unknown mode\n", stderr);
    return kUsage;
}
