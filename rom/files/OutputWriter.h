#pragma once

#include "FileAccess.h"
#include "FileError.h"

#include <cstdint>
#include <span>

namespace rom {

// How the bytes of an output are put in place, once OutputFile has decided
// that the file may be written. Its functions are private to OutputFile, so
// that every output goes through OutputFile's checks. Each system has its
// own (OutputWriterPosix.cpp, OutputWriterWindows.cpp).
class OutputWriter {
    friend class OutputFile;

    // Makes the file `name` in the folder `folder` hold bytes, or leaves it
    // as it was, whatever happens: the bytes go to a new file in that folder
    // (unnamed where the file system allows), which is flushed to the disk
    // and then given the name. `existing` is the file now of that name, which
    // is replaced and whose permissions the new file takes, or nullptr when
    // there is none, so that a file another program makes meanwhile is kept.
    // Either way a file of that name that is not `existing` is left alone
    // (ChangedMeanwhile). While a temporary name exists, SIGINT, SIGTERM and
    // SIGHUP wait in the calling thread (on Windows, Ctrl+C, Ctrl+Break and
    // the console's closing wait for the whole program), so that a program
    // stopped by them leaves no such name behind. On POSIX systems another
    // thread may still take one of those signals meanwhile: shop-table has
    // one thread, and where the file system has unnamed files, an output
    // has a temporary name only for the moment of the rename over the old.
    [[nodiscard]] static FileError replace(const FilePath &folder, const FilePath &name, const FileStatus *existing,
                                           std::span<const std::uint8_t> bytes);

    // Writes bytes straight into a character device or a pipe, which has no
    // folder to hold a new file.
    [[nodiscard]] static FileError writeInto(const FilePath &path, std::span<const std::uint8_t> bytes);
};

} // namespace rom
