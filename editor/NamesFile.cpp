#include "NamesFile.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace names_file {

std::string read(const std::string &path, rom::ItemNames &names)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::strerror(errno);
    struct stat info {};
    std::string bytes;
    std::string error;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        error = "It is not an ordinary file.";
    else if (info.st_size > kMaxSize)
        error = "It is larger than an item names file can be (1 MiB).";
    else {
        bytes.resize(std::size_t(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += std::size_t(got);
        }
        bytes.resize(done);
    }
    ::close(fd);
    if (!error.empty())
        return error;
    auto parsed = rom::ItemNames::parse(bytes);
    if (const auto *refused = std::get_if<rom::NamesFileError>(&parsed)) {
        std::string message = refused->message();
        if (!message.empty())
            message[0] = char(std::toupper(static_cast<unsigned char>(message[0])));
        return message + '.';
    }
    names = std::get<rom::ItemNames>(std::move(parsed));
    return {};
}

std::string write(const std::string &path, const rom::ItemNames &names)
{
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    const std::string text = names.toText();
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !file.commit())
        return file.errorString().toStdString();
    return {};
}

} // namespace names_file
