#include "OutputFile.h"

#include "OutputWriter.h"
#include "RomFile.h"

#include <cerrno>

namespace rom {

namespace {

bool sameFile(const FileStatus &a, const FileStatus &b) { return a.device == b.device && a.index == b.index; }

bool isAnImage(const FilePath &path)
{
    RomFile image;
    return image.open(path, Access::ReadOnly) == RomError::None;
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
    if (const FileError error = whereItLeads(path, exists ? &info : nullptr, folder, name); !error.ok())
        return error;
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

} // namespace rom
