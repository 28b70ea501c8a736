// Converts one of the program's pictures to PNG, for the desktop's icon theme.
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: picture-to-png PICTURE PNG\n", stderr);
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "picture-to-png: could not convert %s to %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
