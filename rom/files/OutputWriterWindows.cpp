// OutputWriter's Win32 part.
#include "OutputWriter.h"

#include "TemporaryName.h"
#include "Transfer.h"
#include "WindowsError.h"

#include <algorithm>
#include <cerrno>
#include <windows.h>

namespace rom {

namespace {

// The most one WriteFile call moves, within its DWORD count.
constexpr std::size_t kMaxTransfer = std::size_t(1) << 30;

// Held while a temporary name exists; the console's stop events wait for it.
SRWLOCK temporaryNames = SRWLOCK_INIT;

BOOL WINAPI stopOnceNamed(DWORD)
{
    ::AcquireSRWLockShared(&temporaryNames);
    ::ReleaseSRWLockShared(&temporaryNames);
    return FALSE; // then the default: the program ends
}

// Ctrl+C, Ctrl+Break and the console's closing wait while it lives, so that
// a program stopped by them leaves no temporary name behind.
class StopsHeld {
public:
    StopsHeld()
    {
        static const bool handled = ::SetConsoleCtrlHandler(stopOnceNamed, TRUE) != 0;
        (void)handled;
        ::AcquireSRWLockExclusive(&temporaryNames);
    }
    ~StopsHeld() { ::ReleaseSRWLockExclusive(&temporaryNames); }
    StopsHeld(const StopsHeld &) = delete;
    StopsHeld &operator=(const StopsHeld &) = delete;
};

std::filesystem::path temporaryIn(const std::filesystem::path &folder)
{
    return folder / FilePath(temporaryName()).system();
}

FileError failure(FileProblem problem) { return {problem, errnoFor(::GetLastError())}; }

bool writeAll(HANDLE handle, std::span<const std::uint8_t> bytes)
{
    return transfer(bytes.size(), [&](std::size_t done) {
               DWORD put = 0;
               const auto count = DWORD(std::min(bytes.size() - done, kMaxTransfer));
               return ::WriteFile(handle, bytes.data() + done, count, &put, nullptr) ? std::ptrdiff_t(put)
                                                                                      : std::ptrdiff_t(failWithLastError());
           }) == bytes.size();
}

// Makes the file of the temporary name, holding bytes, on the disk.
FileError fill(const std::filesystem::path &temporary, std::span<const std::uint8_t> bytes, bool &made)
{
    const HANDLE handle =
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    made = handle != INVALID_HANDLE_VALUE;
    if (!made)
        return failure(FileProblem::CannotWrite);
    FileError error;
    if (!writeAll(handle, bytes))
        error = {FileProblem::CannotWrite, errno};
    else if (!::FlushFileBuffers(handle))
        error = failure(FileProblem::CannotWrite);
    if (!::CloseHandle(handle) && error.ok())
        error = failure(FileProblem::CannotWrite);
    return error;
}

// Whether the name still holds the file that was checked, untouched.
bool stillThere(const std::filesystem::path &target, const FileStatus &existing)
{
    FileStatus now;
    return FileAccess::system().lstat(FilePath(target), now) == 0 && unchanged(existing, now);
}

// Gives the temporary file the name, replacing `existing` or, when there is
// none, no file at all.
FileError giveName(const std::filesystem::path &temporary, const std::filesystem::path &target,
                   const FileStatus *existing)
{
    if (existing && !stillThere(target, *existing))
        return {FileProblem::ChangedMeanwhile};
    // Windows never replaces a file with the read-only attribute; Wine run as
    // root would, unless asked first.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (existing && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return {FileProblem::CannotWrite, EACCES};
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (existing ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExW(temporary.c_str(), target.c_str(), flags))
        return {};
    const DWORD error = ::GetLastError();
    if (!existing && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
        return {FileProblem::ChangedMeanwhile};
    return {FileProblem::CannotWrite, errnoFor(error)};
}

} // namespace

FileError OutputWriter::replace(const FilePath &folder, const FilePath &name, const FileStatus *existing,
                                std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target = folder.system() / name.system();
    const StopsHeld held;
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::filesystem::path temporary = temporaryIn(folder.system());
        bool made = false;
        FileError error = fill(temporary, bytes, made);
        if (!made && (error.systemError == EEXIST))
            continue;
        if (error.ok())
            error = giveName(temporary, target, existing);
        if (made && !error.ok())
            ::DeleteFileW(temporary.c_str());
        return error;
    }
    return {FileProblem::CannotWrite, EEXIST};
}

FileError OutputWriter::writeInto(const FilePath &path, std::span<const std::uint8_t> bytes)
{
    const HANDLE handle = ::CreateFileW(path.system().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failure(FileProblem::CannotWriteStream);
    // The name may have been given to a file meanwhile, which must not be written over from its start.
    const DWORD type = ::GetFileType(handle);
    FileError error;
    if (type != FILE_TYPE_CHAR && type != FILE_TYPE_PIPE)
        error = {FileProblem::ChangedMeanwhile};
    else if (!writeAll(handle, bytes))
        error = {FileProblem::CannotWriteStream, errno};
    ::CloseHandle(handle);
    return error;
}

} // namespace rom
