#pragma once

#include "FileAccess.h"
#include "FileError.h"

#include <cstdint>
#include <span>

namespace rom {

// The one way the programs write a file other than their images' own bytes:
// CSV tables, item names files, patches. It decides whether the file the
// user named may be written, then writes it where the name leads: through
// symbolic links to their target (the links stay), straight into a
// character device or a pipe (-o /dev/stdout), and otherwise as a new file
// that replaces the old one whole, or not at all.
//
// An output is never an image, so it never replaces one: not an image the
// caller names (the one open, the ones a command reads), not a file another
// program holds a lock on (the editor and shop-table import lock the images
// they write; on Windows, also a file another program holds open without
// letting others delete it), and not any existing file that passes the
// image checks (RomFile::open for reading). A file with other names (hard
// links) is refused too, as replacing it would split it from them.
class OutputFile {
public:
    // Writes bytes as the file at path, unless the checks above refuse it.
    // A replaced file keeps its permissions; a new one gets the usual ones.
    [[nodiscard]] static FileError write(const FilePath &path, std::span<const std::uint8_t> bytes,
                                         std::span<const FilePath> images);

    // For the tools that make images for tests and demonstrations
    // (make-demo-image): as write(), but an image may be replaced, unless
    // another program holds a lock on it. Not for the programs' outputs.
    [[nodiscard]] static FileError writeMadeImage(const FilePath &path, std::span<const std::uint8_t> bytes);

private:
    enum class Kind {
        Output,    // never an image
        MadeImage, // an image made whole by a tool
    };

    [[nodiscard]] static FileError writeChecked(const FilePath &path, std::span<const std::uint8_t> bytes,
                                                std::span<const FilePath> images, Kind kind);
    [[nodiscard]] static FileError check(const FilePath &path, const FileStatus &info,
                                         std::span<const FilePath> images, Kind kind);
    // Refused while another program holds the file as the editor holds its image.
    [[nodiscard]] static FileError checkLock(const FilePath &path, const FileStatus &info);

    // Each system's own part (OutputFilePosix.cpp, OutputFileWindows.cpp).
    // Opens an existing file to look at it, without blocking; Locked where
    // the system itself refuses because of another program's hold on it.
    [[nodiscard]] static FileError openToCheck(const FilePath &path, FileHandle &file);
    // The folder and name that path leads to once symbolic links at its end
    // are followed; the name need not exist.
    [[nodiscard]] static FileError whereItLeads(const FilePath &path, bool exists, FilePath &folder, FilePath &name);
};

} // namespace rom
