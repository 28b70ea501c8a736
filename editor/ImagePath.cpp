#include "ImagePath.h"

#include "FilePath.h"
#include "Utf8.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace image_path {

std::string fileText(const QString &name)
{
#ifdef _WIN32
    return rom::generalizedUtf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t *>(name.utf16()),
                                                             std::size_t(name.size())));
#else
    return QFile::encodeName(name).toStdString();
#endif
}

QString shownName(const std::string &path)
{
#ifdef _WIN32
    return QString::fromStdU16String(rom::utf16FromGeneralizedUtf8(path));
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

std::string absolute(const std::string &path)
{
    const rom::FilePath file(path);
    if (path.empty() || file.system().is_absolute())
        return path;
    std::error_code error;
    return rom::FilePath(std::filesystem::current_path(error) / file.system()).text();
}

bool standsForAnotherName(const QString &fileName)
{
    if (!fileName.contains(QChar::ReplacementCharacter))
        return false;
    const QFileInfo chosen(fileName);
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(rom::FilePath(fileText(chosen.path())).system(), error)) {
        const std::string name = rom::FilePath(entry.path().filename()).text();
        const QString shown = shownName(name);
        if (fileText(shown) != name && shown == chosen.fileName())
            return true;
    }
    return false;
}

} // namespace image_path
