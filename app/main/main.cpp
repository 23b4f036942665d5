#include "appearance.h"
#include "desktop_platform.h"
#include "main_window.h"
#include "workspace_model.h"
#include "workspace_router.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <memory>

namespace {

// Saves the window as a PNG once it has settled, then quits.
void scheduleScreenshot(MainWindow& window, const QString& path, int delayMs)
{
    QTimer::singleShot(delayMs, &window, [&window, path] {
        const bool saved = window.grab().save(path, "PNG");
        if (!saved) qWarning("quorvane: cannot write %s", qPrintable(path));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvane brings your files together in one window."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window to FILE (PNG) and quit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption delay(QStringLiteral("screenshot-delay"),
                                   QStringLiteral("Wait MS milliseconds before the screenshot."),
                                   QStringLiteral("MS"), QStringLiteral("1500"));
    parser.addOption(screenshot);
    parser.addOption(delay);
    parser.process(app);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quorvane.svg")));
    applyAppearance(app, storedAppearance());

    auto router = std::make_unique<WorkspaceRouter>();
    auto window = std::make_unique<MainWindow>(*router);
    router->setPlatform(desktopPlatform(window.get()));
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
