#include "MainWindow.h"
#include "Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("shop-editor"));
    QApplication::setApplicationVersion(QLatin1String(version::kText));
    QApplication::setDesktopFileName(QStringLiteral("shop-editor"));
    // Every window of the program shows this icon.
    QApplication::setWindowIcon(MainWindow::windowIconSet());
    QApplication::setFont(MainWindow::windowFont());

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Edits the shop table of a copier image of the game."));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(QStringLiteral("image"),
                                  QStringLiteral("An image file to open at start, as File > Open ROM would."),
                                  QStringLiteral("[image]"));
    options.process(app);
    const QStringList images = options.positionalArguments();
    if (images.size() > 1) {
        std::fprintf(stderr, "shop-editor: give at most one image file.\n");
        return 2;
    }

    MainWindow window;
    window.show();
    if (!images.isEmpty())
        QTimer::singleShot(0, &window, [&window, image = images.constFirst()] { window.openImage(image); });
    return QApplication::exec();
}
