#include "PlainFile.h"

#include "FileAccess.h"

#include <algorithm>
#include <cerrno>

namespace rom {

namespace {

// Read in pieces of this size from a pipe, whose size is not known ahead.
constexpr std::size_t kReadPiece = 64 * 1024;

bool readable(const FileStatus &info) { return info.kind == FileKind::Regular || info.kind == FileKind::Pipe; }

FileError readOpen(FileAccess &files, FileHandle file, std::size_t maxSize, std::string &bytes)
{
    FileStatus info;
    if (files.fstat(file, info) != 0)
        return {FileProblem::CannotRead, errno};
    if (!readable(info))
        return {FileProblem::NotRegularFile};
    std::string text;
    for (;;) {
        const std::size_t done = text.size();
        // One byte more than allowed tells a file just too large from one that fits.
        text.resize(std::min(done + kReadPiece, maxSize + 1));
        const std::ptrdiff_t got = files.read(file, text.data() + done, text.size() - done);
        if (got < 0 && errno == EINTR) {
            text.resize(done);
            continue;
        }
        if (got < 0)
            return {FileProblem::CannotRead, errno};
        text.resize(done + std::size_t(got));
        if (text.size() > maxSize)
            return {FileProblem::TooLarge};
        if (got == 0)
            break;
    }
    bytes = std::move(text);
    return {};
}

} // namespace

FileError PlainFile::read(const FilePath &path, std::size_t maxSize, std::string &bytes)
{
    if (path.holdsNul())
        return {FileProblem::CannotRead, ENOENT};
    FileAccess &files = FileAccess::system();
    // Look before opening: opening a device can block or have side effects.
    FileStatus info;
    if (files.stat(path, info) != 0)
        return {FileProblem::CannotRead, errno};
    if (!readable(info))
        return {FileProblem::NotRegularFile};
    if (info.kind == FileKind::Regular && std::uint64_t(info.size) > maxSize)
        return {FileProblem::TooLarge};
    const FileHandle file = files.open(path, OpenMode::Stream);
    if (file == kNoFile)
        return {FileProblem::CannotRead, errno};
    const FileError error = readOpen(files, file, maxSize, bytes);
    files.close(file);
    return error;
}

} // namespace rom
