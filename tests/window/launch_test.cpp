#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

// A folder named with bytes that aren't UTF-8 (old disks, archives) opens:
// the argument keeps its bytes on the way to the window.
TEST(Launch, OpensAFolderWhoseNameIsNotUtf8)
{
    TempTree tree;
    const QByteArray folder = QFile::encodeName(tree.root()) + "/old\xff";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QString shot = tree.path("shot.png");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.folder("config"));
    QProcess app;
    app.setProcessEnvironment(environment);
    // QProcess would encode a QString argument as UTF-8; the shell passes the bytes.
    const QString script = QStringLiteral(
        "exec \"$0\" --screenshot \"$1\" --screenshot-delay 100 \"$(printf '%s\\377' \"$2\")\"");
    app.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), script, QStringLiteral(QUORVANE_APP_PATH), shot, tree.path("old")});
    ASSERT_TRUE(app.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(app.readAllStandardError());
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << errors.toStdString();
    EXPECT_EQ(app.exitCode(), 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("not a folder"))) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(shot));
}
