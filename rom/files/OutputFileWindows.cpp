// OutputFile's Win32 part: another program's hold on the file, and where a
// name leads through symbolic links and junctions.
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

bool sameFile(const FileStatus &a, const FileStatus &b) { return a.device == b.device && a.index == b.index; }

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

// Whether the name itself (a link, not its target) stands for the file expected.
bool nameHolds(const std::filesystem::path &path, const FileStatus &expected)
{
    FileStatus now;
    return FileAccess::system().lstat(FilePath(path), now) == 0 && sameFile(now, expected);
}

} // namespace

// Opens the file as replacing it needs (with the right to delete it), letting
// others do anything: refused while another program holds it open without
// letting others delete it, which Windows enforces, or holds the editor's
// lock, asked for shared and let go at once.
FileError OutputFile::checkLock(const FilePath &path, const FileStatus &info)
{
    const HANDLE handle = ::CreateFileW(path.system().c_str(), GENERIC_READ | DELETE, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? FileError{FileProblem::Locked} : cannotWrite();
    FileAccess &files = FileAccess::system();
    const auto file = reinterpret_cast<FileHandle>(handle);
    FileStatus opened;
    FileError error;
    if (files.fstat(file, opened) != 0 || !sameFile(opened, info))
        error = {FileProblem::ChangedMeanwhile};
    else if (files.flock(file, false) != 0 && errno == EWOULDBLOCK)
        error = {FileProblem::Locked};
    ::CloseHandle(handle);
    return error;
}

FileError OutputFile::whereItLeads(const FilePath &path, const FileStatus *info, FilePath &folder, FilePath &name)
{
    std::filesystem::path at = path.system();
    if (info) {
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
    // A name that shows another file than the path did cannot be replaced.
    if (info && !nameHolds(at, *info))
        return {FileProblem::CannotWrite, ENOENT};
    return {};
}

} // namespace rom
