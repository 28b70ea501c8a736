// OutputFile's Win32 part: how a file is opened to be checked (which sees
// another program's hold on it), and where a name leads through symbolic
// links and junctions.
#include "OutputFile.h"

#include "WindowsError.h"

#include <cerrno>
#include <vector>
#include <windows.h>

namespace rom {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Characters of a final path asked for at first; a longer one is asked for again.
constexpr DWORD kPathGuess = MAX_PATH;

FileError cannotWrite() { return {FileProblem::CannotWrite, errnoFor(::GetLastError())}; }

// The path that the open file has once every link on the way is followed.
bool finalPath(HANDLE handle, std::filesystem::path &path)
{
    std::vector<wchar_t> text(kPathGuess);
    DWORD length = ::GetFinalPathNameByHandleW(handle, text.data(), DWORD(text.size()), FILE_NAME_NORMALIZED);
    if (length >= text.size()) {
        text.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, text.data(), DWORD(text.size()), FILE_NAME_NORMALIZED);
    }
    if (length == 0 || length >= text.size())
        return false;
    path = std::filesystem::path(std::wstring(text.data(), length));
    return true;
}

} // namespace

// Opens the file as replacing it needs (with the right to delete it), letting
// others do anything: refused while another program holds it open without
// letting others delete it, which Windows enforces.
FileError OutputFile::openToCheck(const FilePath &path, FileHandle &file)
{
    const HANDLE handle = ::CreateFileW(path.system().c_str(), GENERIC_READ | DELETE, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? FileError{FileProblem::Locked} : cannotWrite();
    file = reinterpret_cast<FileHandle>(handle);
    return {};
}

FileError OutputFile::whereItLeads(const FilePath &path, bool exists, FilePath &folder, FilePath &name)
{
    std::filesystem::path at = path.system();
    if (exists) {
        const HANDLE handle = ::CreateFileW(at.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return cannotWrite();
        const bool found = finalPath(handle, at);
        const FileError error = found ? FileError{} : cannotWrite();
        ::CloseHandle(handle);
        if (!error.ok())
            return error;
    }
    if (!at.has_filename())
        return {FileProblem::CannotWrite, ENOENT};
    folder = FilePath(at.has_parent_path() ? at.parent_path() : std::filesystem::path(L"."));
    name = FilePath(at.filename());
    return {};
}

} // namespace rom
