#include "ImagePath.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <filesystem>

namespace image_path {

std::string absolute(const std::string &path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code error;
    return (std::filesystem::current_path(error) / path).native();
}

bool standsForAnotherName(const QString &fileName)
{
    if (!fileName.contains(QChar::ReplacementCharacter))
        return false;
    const QFileInfo chosen(fileName);
    DIR *folder = ::opendir(QFile::encodeName(chosen.path()).constData());
    if (!folder)
        return false;
    bool found = false;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        const QString shown = QFile::decodeName(name);
        if (QFile::encodeName(shown) != name && shown == chosen.fileName())
            found = true;
    }
    ::closedir(folder);
    return found;
}

} // namespace image_path
