#pragma once

#include <QString>

#include <string>

// Paths of image files, kept as the bytes the system takes.
namespace image_path {

// Made absolute only by putting the working directory in front: ".." after
// a symbolic link is the system's to resolve, not ours, and the bytes stay
// as given.
[[nodiscard]] std::string absolute(const std::string &path);

// A name whose bytes are not valid UTF-8 reaches the file dialog with U+FFFD
// in their place, and that text no longer names the file: it could name
// another one. True when the folder holds such a name that reads as fileName.
[[nodiscard]] bool standsForAnotherName(const QString &fileName);

} // namespace image_path
