#pragma once

#include <QString>

#include <string>

// Paths of image files, kept as the file layer takes them (rom::FilePath's
// text): the bytes on POSIX systems, UTF-8 on Windows.
namespace image_path {

// A name shown in the window, as the file layer takes it: QFile::encodeName
// on POSIX systems; on Windows, UTF-8 from the name's UTF-16 (encodeName
// would give the ANSI code page's form, which may name no file).
[[nodiscard]] std::string fileText(const QString &name);
// And back: a path for the window to show.
[[nodiscard]] QString shownName(const std::string &path);

// Made absolute only by putting the working directory in front: ".." after
// a symbolic link is the system's to resolve, not ours, and the bytes stay
// as given.
[[nodiscard]] std::string absolute(const std::string &path);

// A name whose bytes are not valid UTF-8 reaches the file dialog with U+FFFD
// in their place, and that text no longer names the file: it could name
// another one. True when the folder holds such a name that reads as fileName.
// (Windows' names are UTF-16 and reach the dialog whole.)
[[nodiscard]] bool standsForAnotherName(const QString &fileName);

} // namespace image_path
