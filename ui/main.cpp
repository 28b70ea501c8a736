#include "ImagePath.h"
#include "MainWindow.h"
#include "ProgramArguments.h"
#include "Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

// The options QGuiApplication and QApplication take for themselves, with one
// dash or two, and whether a value follows. They are left to QApplication.
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true}, {"qwindowtitle", true}, {"reverse", false},
    {"session", true}, {"style", true}, {"stylesheet", true}, {"widgetcount", false},
    {"display", true}, {"geometry", true}, {"qmljsdebugger", true},
};

// The option's entry if argument is one of Qt's ("-style", "--style=Fusion").
const QtOption *qtOption(const QByteArray &argument, bool &valueAttached)
{
    if (!argument.startsWith('-'))
        return nullptr;
    QByteArray name = argument.mid(argument.startsWith("--") ? 2 : 1);
    valueAttached = name.contains('=');
    if (valueAttached)
        name.truncate(name.indexOf('='));
    for (const QtOption &option : kQtOptions)
        if (std::string_view(name.constData(), std::size_t(name.size())) == option.name)
            return &option;
    return nullptr;
}

// The command line without Qt's own options, for our parser; and the
// platform named with -platform, if any.
QStringList ownArguments(int argc, char *argv[], QByteArray &platform)
{
    QStringList own{image_path::shownName(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--") {
            for (; i < argc; ++i)
                own << image_path::shownName(argv[i]);
            break;
        }
        bool valueAttached = false;
        const QtOption *option = qtOption(argument, valueAttached);
        if (!option) {
            own << image_path::shownName(argument.toStdString());
            continue;
        }
        const QByteArray value = valueAttached              ? argument.mid(argument.indexOf('=') + 1)
                                 : option->takesValue && i + 1 < argc ? QByteArray(argv[++i])
                                                                      : QByteArray();
        if (option->name == "platform")
            platform = value;
    }
    return own;
}

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
        bool valueAttached = false;
        const QtOption *option = optionsEnded ? nullptr : qtOption(argument, valueAttached);
        if (option)
            i += option->takesValue && !valueAttached ? 1 : 0;
        else if (!optionsEnded && argument == "--")
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

// What Qt said while the window system started, until it gave up.
QString &startMessages()
{
    static QString messages;
    return messages;
}

// Qt ends a failed start with a page of advice about reinstalling; one line
// says what is wrong: no display, or else Qt's own words.
void reportFailedStart(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    QString &said = startMessages();
    said += (said.isEmpty() ? QString() : QStringLiteral(" ")) + message.simplified();
    if (type != QtFatalMsg)
        return;
    if (said.contains(QLatin1String("could not connect to display"), Qt::CaseInsensitive))
        std::fputs("shop-editor: cannot show the window: no display could be opened (is DISPLAY set?).\n", stderr);
    else
        std::fprintf(stderr, "shop-editor: cannot show the window: %s\n", qPrintable(said));
    std::_Exit(1);
}

bool displayNamed(const QByteArray &platformOption)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    // The desktop is the display, always there; no variable names it.
    Q_UNUSED(platformOption);
    return true;
#else
    const QByteArray platform = platformOption.isEmpty() ? qgetenv("QT_QPA_PLATFORM") : platformOption;
    return (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland")) ||
           !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line as the file layer takes names: on Windows from the
    // system's UTF-16 command line, not from argv's ANSI code page form.
    rom::ProgramArguments texts(argc, argv);
    // --help and --version need no display: the command line is read before
    // the window system starts.
    auto core = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("shop-editor"));
    QCoreApplication::setApplicationName(QStringLiteral("shop-editor"));
    QCoreApplication::setApplicationVersion(QLatin1String(version::kText));
    QCommandLineParser options;
    options.setApplicationDescription(
        QCoreApplication::translate("main", "Edits the shop table of a copier image of the game."));
    const QCommandLineOption help = options.addHelpOption();
    options.addVersionOption();
    options.addOption(
        {QStringLiteral("item-names"),
         QCoreApplication::translate("main", "Item names from a file for this run, one \"HH: Name\" per line."),
         QStringLiteral("file")});
    options.addPositionalArgument(
        QStringLiteral("image"),
        QCoreApplication::translate("main", "An image file to open at start, as File > Open ROM would."),
        QStringLiteral("[image]"));
    QByteArray platform;
    const QStringList arguments = ownArguments(texts.count(), texts.values(), platform);
    if (!options.parse(arguments)) {
        std::fprintf(stderr, "shop-editor: %s\n", qPrintable(options.errorText()));
        return 2;
    }
    // --help-all adds Qt's own options, which the application object names
    // and process() prints: a window system that needs no display is enough.
    if (options.isSet(QStringLiteral("help-all"))) {
        core.reset();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication listing(argc, argv);
        options.process(arguments);
    }
    if (options.isSet(help))
        options.showHelp(0);
    if (options.isSet(QStringLiteral("version")))
        options.showVersion();
    if (options.positionalArguments().size() > 1) {
        std::fprintf(stderr, "shop-editor: give at most one image file.\n");
        return 2;
    }
    if (!displayNamed(platform)) {
        std::fputs("shop-editor: cannot show the window: no display is set (DISPLAY is empty).\n", stderr);
        return 1;
    }

    core.reset();
    const QtMessageHandler previous = qInstallMessageHandler(reportFailedStart);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    startMessages().clear();
    QApplication::setDesktopFileName(QStringLiteral("shop-editor"));
    // The texts in the desktop's language, where a translation is built in.
    QTranslator translator;
    if (translator.load(QLocale(), QStringLiteral("shop-editor"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QApplication::installTranslator(&translator);
    // Every window of the program shows this icon.
    QApplication::setWindowIcon(MainWindow::windowIconSet());
    QApplication::setFont(MainWindow::windowFont());

    MainWindow window;
    // Placed by the program, the window's place is known from the start, so
    // that a message about the image named below shows over it.
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    QTimer::singleShot(0, &window, [&window, files = fileArguments(texts.count(), texts.values())] {
        window.start(files.itemNames, files.image);
    });
    return QApplication::exec();
}
