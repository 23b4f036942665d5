#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProcessResult {
    int status;
    QString output;
};

ProcessResult run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return {-1, QStringLiteral("did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// Installs the build tree once into a temporary prefix.
class DesktopInstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix = new QTemporaryDir;
        installed =
            new ProcessResult(run(QStringLiteral(QUORVANE_CMAKE),
                                  {QStringLiteral("--install"), QStringLiteral(QUORVANE_BUILD_DIR),
                                   QStringLiteral("--prefix"), prefix->path()}));
    }
    static void TearDownTestSuite()
    {
        delete installed;
        delete prefix;
    }
    void SetUp() override { ASSERT_EQ(installed->status, 0) << installed->output.toStdString(); }
    static QString path(const QString& relative) { return QDir(prefix->path()).filePath(relative); }

    static inline QTemporaryDir* prefix = nullptr;
    static inline ProcessResult* installed = nullptr;
};

} // namespace

TEST_F(DesktopInstallTest, TheLauncherEntryOpensFoldersWithTheInstalledProgram)
{
    const QString entry = path(QStringLiteral("share/applications/quorvane.desktop"));
    ASSERT_TRUE(QFileInfo::exists(entry));
    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_EQ(desktop.value(QStringLiteral("Exec")).toString(), QStringLiteral("quorvane %U"));
    EXPECT_EQ(desktop.value(QStringLiteral("Icon")).toString(), QStringLiteral("quorvane"));
    // QSettings reads "a;b;" as a list.
    EXPECT_TRUE(desktop.value(QStringLiteral("MimeType"))
                    .toStringList()
                    .contains(QStringLiteral("inode/directory")));
    EXPECT_FALSE(desktop.value(QStringLiteral("Categories")).toStringList().isEmpty());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("bin/quorvane"))).isExecutable());

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) GTEST_SKIP() << "desktop-file-validate is not installed";
    const ProcessResult validated = run(validator, {entry});
    EXPECT_EQ(validated.status, 0) << validated.output.toStdString();
    EXPECT_TRUE(validated.output.trimmed().isEmpty()) << validated.output.toStdString();
}

TEST_F(DesktopInstallTest, EveryIconSizeIsInstalledAtItsSize)
{
    for (int edge : {16, 32, 48, 64, 128, 256}) {
        const QString icon =
            path(QStringLiteral("share/icons/hicolor/%1x%1/apps/quorvane.png").arg(edge));
        QImageReader reader(icon);
        ASSERT_TRUE(reader.canRead()) << icon.toStdString();
        EXPECT_EQ(reader.size(), QSize(edge, edge)) << icon.toStdString();
        const QImage image = reader.read();
        EXPECT_TRUE(image.hasAlphaChannel());
        // Transparent corners, a drawn middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_GT(qAlpha(image.pixel(edge / 2, edge / 2)), 200);
    }
    EXPECT_TRUE(
        QFileInfo::exists(path(QStringLiteral("share/icons/hicolor/scalable/apps/quorvane.svg"))));
}

TEST_F(DesktopInstallTest, SoftwareCentresManualsAndCompletionFindTheirFiles)
{
    const QString metainfo =
        path(QStringLiteral("share/metainfo/io.github.quorvane.Quorvane.metainfo.xml"));
    ASSERT_TRUE(QFileInfo::exists(metainfo));
    for (const char* page : {"share/man/man1/quorvane.1", "share/man/man1/quorvane-cli.1"})
        EXPECT_GT(QFileInfo(path(QString::fromLatin1(page))).size(), 500) << page;

    // The completion offers the commands and the answers to a taken name.
    const QString completion =
        path(QStringLiteral("share/bash-completion/completions/quorvane-cli"));
    ASSERT_TRUE(QFileInfo::exists(completion));
    const ProcessResult completed =
        run(QStringLiteral("bash"),
            {QStringLiteral("-c"),
             QStringLiteral("source '%1'; COMP_WORDS=(quorvane-cli mo); COMP_CWORD=1; "
                            "_quorvane_cli; echo \"${COMPREPLY[*]}\"; "
                            "COMP_WORDS=(quorvane-cli copy --on-conflict=k); COMP_CWORD=2; "
                            "_quorvane_cli; echo \"${COMPREPLY[*]}\"")
                 .arg(completion)});
    EXPECT_EQ(completed.output, QStringLiteral("move\n--on-conflict=keep-both\n"));

    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (appstream.isEmpty()) GTEST_SKIP() << "appstreamcli is not installed";
    const ProcessResult validated =
        run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    EXPECT_EQ(validated.status, 0) << validated.output.toStdString();
}
