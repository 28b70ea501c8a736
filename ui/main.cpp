#include "MainWindow.h"
#include "Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The files named on the command line, as the bytes given: decoded to text,
// a name that is not valid UTF-8 would come back as another file's name.
struct Files {
    QByteArray itemNames;
    QByteArray image;
};

Files fileArguments(int argc, char *argv[])
{
    static const QByteArray kNamesOption = "--item-names";
    Files files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (!optionsEnded && argument == kNamesOption && i + 1 < argc)
            files.itemNames = argv[++i];
        else if (!optionsEnded && argument.startsWith(kNamesOption + '='))
            files.itemNames = argument.mid(kNamesOption.size() + 1);
        else if (optionsEnded || !argument.startsWith('-') || argument == "-")
            files.image = argument;
    }
    return files;
}

// Starting the window system without a display ends the program with a
// page of advice about reinstalling it; one line says what is wrong.
void reportMissingDisplay(QtMsgType type, const QMessageLogContext &, const QString &)
{
    if (type != QtFatalMsg)
        return;
    std::fputs("shop-editor: cannot show the window: no display could be opened (is DISPLAY set?).\n", stderr);
    std::_Exit(1);
}

bool displayNamed()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    return (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland")) ||
           !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    // --help and --version need no display: the command line is read before
    // the window system starts.
    auto core = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("shop-editor"));
    QCoreApplication::setApplicationName(QStringLiteral("shop-editor"));
    QCoreApplication::setApplicationVersion(QLatin1String(version::kText));
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Edits the shop table of a copier image of the game."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption({QStringLiteral("item-names"),
                       QStringLiteral("Item names from a file for this run, one \"HH: Name\" per line."),
                       QStringLiteral("file")});
    options.addPositionalArgument(QStringLiteral("image"),
                                  QStringLiteral("An image file to open at start, as File > Open ROM would."),
                                  QStringLiteral("[image]"));
    if (!options.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "shop-editor: %s\n", qPrintable(options.errorText()));
        return 2;
    }
    if (options.isSet(QStringLiteral("help")))
        options.showHelp(0);
    if (options.isSet(QStringLiteral("version")))
        options.showVersion();
    if (options.positionalArguments().size() > 1) {
        std::fprintf(stderr, "shop-editor: give at most one image file.\n");
        return 2;
    }
    if (!displayNamed()) {
        std::fputs("shop-editor: cannot show the window: no display is set (DISPLAY is empty).\n", stderr);
        return 1;
    }

    core.reset();
    const QtMessageHandler previous = qInstallMessageHandler(reportMissingDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setDesktopFileName(QStringLiteral("shop-editor"));
    // Every window of the program shows this icon.
    QApplication::setWindowIcon(MainWindow::windowIconSet());
    QApplication::setFont(MainWindow::windowFont());

    MainWindow window;
    // Placed by the program, the window's place is known from the start, so
    // that a message about the image named below shows over it.
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    QTimer::singleShot(0, &window, [&window, files = fileArguments(argc, argv)] {
        window.start(files.itemNames, files.image);
    });
    return QApplication::exec();
}
