#include <QProcess>
#include <gtest/gtest.h>

// Asking for help needs no display: a terminal without one gets the options.
TEST(Launch, HelpWorksWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess app;
    app.setProcessEnvironment(environment);
    app.start(QStringLiteral(QUORVANE_APP_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(app.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(app.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(app.readAllStandardError());
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << errors.toStdString();
    EXPECT_EQ(app.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("Quorvane brings your files together")))
        << output.toStdString();
    for (const char* option : {"--section <NAME>", "--folder <DIR>", "--screenshot <FILE>"})
        EXPECT_TRUE(output.contains(QString::fromLatin1(option))) << option;
}
