#include "media/pdf_page_image.h"
#include "native_path.h"
#include "shell/settings_view.h"
#include "shell/single_instance.h"
#include "window/appearance.h"
#include "window/content_view.h"
#include "window/desktop_platform.h"
#include "window/main_window.h"
#include "window/quit_signals.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// Saves the window as a PNG once it has settled, then quits.
void scheduleScreenshot(MainWindow& window, const QString& path, int delayMs)
{
    QTimer::singleShot(delayMs, &window, [&window, path] {
        const bool saved = window.grab().save(path, "PNG");
        if (!saved)
            qWarning(
                "%s",
                qUtf8Printable(
                    QCoreApplication::translate("main", "quorvane: cannot write %1").arg(path)));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

// The command line, described the same way for the early look and the real parse.
struct LaunchOptions {
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QCoreApplication::translate("main", "Save the window to FILE (PNG) and quit."),
        QStringLiteral("FILE")};
    QCommandLineOption delay{
        QStringLiteral("screenshot-delay"),
        QCoreApplication::translate("main", "Wait MS milliseconds before the screenshot."),
        QStringLiteral("MS"), QStringLiteral("1500")};
    QCommandLineOption size{
        QStringLiteral("window-size"),
        QCoreApplication::translate("main", "Open the window at WIDTHxHEIGHT (e.g. 900x580)."),
        QStringLiteral("SIZE")};
    QCommandLineOption section{
        QStringLiteral("section"),
        QCoreApplication::translate("main", "Open the section NAME (e.g. \"Images\")."),
        QStringLiteral("NAME")};
    QCommandLineOption folder{
        QStringLiteral("folder"),
        QCoreApplication::translate(
            "main", "Open the folder DIR in the Explorer, or in the --section tool."),
        QStringLiteral("DIR")};

    explicit LaunchOptions(QCommandLineParser& parser)
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "main", "Quorvane brings your files together in one window."));
        parser.addHelpOption();
        parser.addOptions({screenshot, delay, size, section, folder});
        parser.addPositionalArgument(QStringLiteral("DIR"),
                                     QCoreApplication::translate("main", "A folder to open."),
                                     QStringLiteral("[DIR]"));
    }
};

// Help is answered before the application object exists: that one needs a
// display, and a terminal asking for help may have none. Anything else,
// including the display's own options (-platform …), is left to the real parse.
void answerHelp(int& argc, char** argv)
{
    QCoreApplication probe(argc, argv);
    QCommandLineParser parser;
    const LaunchOptions options(parser);
    if (!parser.parse(QCoreApplication::arguments())) return;
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.process(probe); // prints the help and exits
}

// The arguments as the system gave them. Qt decodes argv as UTF-8 and turns
// other bytes into U+FFFD, which would name another folder (or none).
QStringList losslessArguments(int argc, char** argv)
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments << decodePath(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    answerHelp(argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvane"));
    routePdfMessages();

    QCommandLineParser parser;
    const LaunchOptions options(parser);
    parser.process(losslessArguments(argc, argv));
    const auto& [screenshot, delay, size, section, folder] = options;

    std::optional<Feature> startSection;
    if (parser.isSet(section)) {
        startSection = fromRawValue<Feature>(parser.value(section));
        if (!startSection) {
            qWarning("%s", qUtf8Printable(
                               QCoreApplication::translate("main", "quorvane: no section named %1")
                                   .arg(parser.value(section))));
            return 2;
        }
    }
    QString given = parser.value(folder);
    if (given.isEmpty() && !parser.positionalArguments().isEmpty())
        given = parser.positionalArguments().constFirst();
    const QString startFolder = launchFolder(given);
    if (!given.isEmpty() && startFolder.isEmpty()) {
        qWarning("%s",
                 qUtf8Printable(QCoreApplication::translate("main", "quorvane: %1 is not a folder")
                                    .arg(readablePath(given))));
        return 2;
    }

    // A second launch hands its folder to the running window and ends.
    SingleInstance instance;
    if (!parser.isSet(screenshot) && instance.start(startFolder) == SingleInstance::Role::Forwarded)
        return 0;

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quorvane.svg")));
    AppearanceController appearance(app, std::make_unique<PortalColorScheme>());
    appearance.set(storedAppearance());

    auto router = std::make_unique<WorkspaceRouter>();
    auto window = std::make_unique<MainWindow>(*router);
    const QuitSignals quitSignals(*router);
    router->setPlatform(desktopPlatform(window.get()));
    if (startSection && *startSection != Feature::Explorer) {
        router->activate(*startSection);
        // A folder given with a tool section is what that tool looks at.
        if (!startFolder.isEmpty()) {
            router->current().navigate(startFolder);
            if (isAnalysis(*startSection)) router->current().scan();
        }
    } else if (!startFolder.isEmpty()) {
        router->openLocation(startFolder);
    } else if (startSection) {
        router->activate(*startSection);
    }
    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(),
                     [&router, &window](const QString& folder) {
                         if (!folder.isEmpty()) router->openLocation(folder);
                         window->showNormal();
                         window->raise();
                         window->activateWindow();
                     });
    auto* settings = new SettingsWindow(
        [&appearance](const QString& value) { appearance.set(appearanceFromSetting(value)); },
        window.get());
    QObject::connect(window->content(), &ContentView::settingsRequested, settings,
                     &SettingsWindow::present);
    if (parser.isSet(size)) {
        const QStringList parts = parser.value(size).split(u'x');
        const QSize wanted =
            parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
        if (!wanted.isValid() || wanted.isEmpty()) {
            std::fprintf(stderr, "%s\n",
                         qUtf8Printable(QCoreApplication::translate(
                             "main", "quorvane: --window-size takes WIDTHxHEIGHT, e.g. 900x580")));
            return 2;
        }
        window->resize(wanted);
    }
    window->show();
    if (parser.isSet(screenshot))
        scheduleScreenshot(*window, parser.value(screenshot), parser.value(delay).toInt());

    const int status = app.exec();
    // Scans, hashing and copies end before their models and queue go away.
    router->stopAllWork();
    window.reset();
    router.reset();
    return status;
}
