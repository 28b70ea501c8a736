#include "OutputFile.h"

#include "OutputWriter.h"
#include "RomFile.h"

#include <cerrno>

namespace rom {

namespace {

bool isAnImage(const FilePath &path)
{
    RomFile image;
    return image.open(path, Access::ReadOnly) == RomError::None;
}

// Whether the name in the folder is the file that info describes, not a
// link to it: a name that shows another file than the path did (a link into
// /proc to a deleted file, say) cannot be replaced.
bool namesTheFile(const FilePath &folder, const FilePath &name, const FileStatus &info)
{
    FileStatus named;
    return FileAccess::system().lstat(FilePath(folder.system() / name.system()), named) == 0 && sameFile(named, info);
}

} // namespace

FileError OutputFile::write(const FilePath &path, std::span<const std::uint8_t> bytes, std::span<const FilePath> images)
{
    return writeChecked(path, bytes, images, Kind::Output);
}

FileError OutputFile::writeMadeImage(const FilePath &path, std::span<const std::uint8_t> bytes)
{
    return writeChecked(path, bytes, {}, Kind::MadeImage);
}

FileError OutputFile::writeChecked(const FilePath &path, std::span<const std::uint8_t> bytes,
                                   std::span<const FilePath> images, Kind kind)
{
    if (path.empty() || path.holdsNul())
        return {FileProblem::CannotWrite, ENOENT};
    FileStatus info;
    const bool exists = FileAccess::system().stat(path, info) == 0;
    if (!exists && errno != ENOENT)
        return {FileProblem::CannotWrite, errno};
    if (exists && (info.kind == FileKind::Device || info.kind == FileKind::Pipe))
        return OutputWriter::writeInto(path, bytes);
    if (exists && info.kind != FileKind::Regular)
        return {FileProblem::NotRegularFile};
    if (exists)
        if (const FileError error = check(path, info, images, kind); !error.ok())
            return error;
    FilePath folder;
    FilePath name;
    if (const FileError error = whereItLeads(path, exists, folder, name); !error.ok())
        return error;
    if (exists && !namesTheFile(folder, name, info))
        return {FileProblem::CannotWrite, ENOENT};
    return OutputWriter::replace(folder, name, exists ? &info : nullptr, bytes);
}

FileError OutputFile::check(const FilePath &path, const FileStatus &info, std::span<const FilePath> images, Kind kind)
{
    for (const FilePath &image : images) {
        FileStatus imageInfo;
        if (FileAccess::system().stat(image, imageInfo) == 0 && sameFile(imageInfo, info))
            return {FileProblem::IsAnImage};
    }
    if (kind == Kind::Output && isAnImage(path))
        return {FileProblem::IsAnImage};
    if (const FileError error = checkLock(path, info); !error.ok())
        return error;
    return info.links > 1 ? FileError{FileProblem::HasOtherNames} : FileError{};
}

// Asks for a shared lock and lets it go at once: refused only while another
// program holds the exclusive lock the editor takes, which it keeps.
FileError OutputFile::checkLock(const FilePath &path, const FileStatus &info)
{
    FileHandle file = kNoFile;
    if (const FileError error = openToCheck(path, file); !error.ok())
        return error;
    FileAccess &files = FileAccess::system();
    FileStatus opened;
    FileError error;
    if (files.fstat(file, opened) != 0 || !sameFile(opened, info))
        error = {FileProblem::ChangedMeanwhile};
    else if (files.flock(file, false) != 0 && errno == EWOULDBLOCK)
        error = {FileProblem::Locked};
    files.close(file);
    return error;
}

} // namespace rom
