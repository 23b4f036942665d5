#include "media/file_thumbnail_generator.h"
#include "media/isolated_render.h"
#include "media/media_fixtures.h"
#include "media/render_host.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

class IsolatedRenderTest : public testing::Test {
protected:
    TempTree tree;

    QString letter()
    {
        const QString path = tree.path(QStringLiteral("letter.pdf"));
        if (!QFileInfo::exists(path))
            makePdf(path,
                    {QStringLiteral("Invoice number 7"), QStringLiteral("The quick brown fox")});
        return path;
    }
    QString bomb() { return tree.file(QStringLiteral("bomb.pdf"), drawingBombPdf(1'000'000)); }
};

// The children of process `parent` running `program`, from /proc.
QList<pid_t> childrenRunning(pid_t parent, const QString& program)
{
    QList<pid_t> found;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(parent);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks + u'/' + task + QStringLiteral("/children"));
        if (!children.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& field : children.readAll().split(' ')) {
            const QByteArray pid = field.trimmed();
            if (pid.isEmpty()) continue;
            const QString exe = QStringLiteral("/proc/%1/exe").arg(QString::fromLatin1(pid));
            if (QFileInfo(exe).symLinkTarget() == program) found << pid.toInt();
        }
    }
    return found;
}

// True once the process has ended (a zombie waiting for its reaper has too).
bool ended(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

TEST_F(IsolatedRenderTest, RendererIsFoundAndDrawsEachKindOfRequest)
{
    ASSERT_FALSE(rendererProgram().isEmpty());

    // A US letter page is taller than wide: its height fills the edge.
    const QImage page = renderIsolated(RenderRequest::pdfFirstPage(letter(), 200), {}, {});
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.height(), 200);
    EXPECT_LT(page.width(), 200);
    EXPECT_EQ(meanColor(page, QRect(0, 0, 10, 10)), QColor(Qt::white));

    const QString clip = tree.path(QStringLiteral("red.mp4"));
    runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("color=red:size=320x160:rate=25:duration=1"), QStringLiteral("-c:v"),
               QStringLiteral("libx264"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
               clip});
    const QImage frame = renderIsolated(RenderRequest::videoFrame(clip, 64), {}, {});
    ASSERT_EQ(frame.size(), QSize(64, 32));
    const QColor middle = meanColor(frame, QRect(16, 8, 32, 16));
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.green(), 60);

    const QString scan = tree.path(QStringLiteral("scan.pdf"));
    makeScannedPdf(scan, {{QStringLiteral("First")}, {QStringLiteral("Second")}});
    // The second page of an A6 sheet, at 300 dpi unless that passes the edge.
    EXPECT_NEAR(renderIsolated(RenderRequest::pdfScannedPage(scan, 1, 8000), {}, {}).height(), 1748,
                3);
    EXPECT_EQ(renderIsolated(RenderRequest::pdfScannedPage(scan, 1, 500), {}, {}).height(), 500);
    EXPECT_TRUE(renderIsolated(RenderRequest::pdfScannedPage(scan, 2, 500), {}, {}).isNull());

    const std::optional<QStringList> text =
        readTextIsolated(RenderRequest::pdfTextLayer(letter()), {}, {});
    ASSERT_TRUE(text);
    ASSERT_EQ(text->size(), 1);
    EXPECT_TRUE(text->first().contains(QStringLiteral("Invoice number 7")));
}

TEST_F(IsolatedRenderTest, FilesThatCannotBeDrawnGiveNothing)
{
    const QString damaged = tree.file(QStringLiteral("damaged.pdf"), "%PDF-1.4\nbroken");
    const QString noise = tree.file(QStringLiteral("noise.mp4"), QByteArray(20000, 'v'));
    const QString gone = tree.path(QStringLiteral("gone.pdf"));
    EXPECT_TRUE(renderIsolated(RenderRequest::pdfFirstPage(damaged, 64), {}, {}).isNull());
    EXPECT_TRUE(renderIsolated(RenderRequest::pdfFirstPage(gone, 64), {}, {}).isNull());
    EXPECT_TRUE(renderIsolated(RenderRequest::videoFrame(noise, 64), {}, {}).isNull());
    EXPECT_TRUE(renderIsolated(RenderRequest::pdfFirstPage(letter(), 0), {}, {}).isNull());
    const std::optional<QStringList> text =
        readTextIsolated(RenderRequest::pdfTextLayer(damaged), {}, {});
    ASSERT_TRUE(text);
    EXPECT_EQ(text->join(QString()), QString());
    // A request whose answer is of the other sort is not sent at all.
    EXPECT_TRUE(renderIsolated(RenderRequest::pdfTextLayer(letter()), {}, {}).isNull());
    EXPECT_FALSE(readTextIsolated(RenderRequest::pdfFirstPage(letter(), 64), {}, {}));
}

TEST_F(IsolatedRenderTest, RequestsOnlyComeFromWholeArguments)
{
    const RenderRequest scan =
        RenderRequest::pdfScannedPage(tree.path(QStringLiteral("a b.pdf")), 3, 900);
    const std::optional<RenderRequest> back = RenderRequest::fromArguments(scan.arguments());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kind, RenderRequest::Kind::PdfScannedPage);
    EXPECT_EQ(back->path, scan.path);
    EXPECT_EQ(back->page, 3);
    EXPECT_EQ(back->edge, 900);
    QList<QByteArray> arguments = scan.arguments();
    arguments[0] = "pdf-everything";
    EXPECT_FALSE(RenderRequest::fromArguments(arguments));
    arguments = scan.arguments();
    arguments[2] = "-5";
    EXPECT_FALSE(RenderRequest::fromArguments(arguments));
    EXPECT_FALSE(RenderRequest::fromArguments(scan.arguments().mid(0, 3)));
}

TEST_F(IsolatedRenderTest, HostileFilesAreStoppedByTheDeadlineOrTheCaller)
{
    // The bomb draws for minutes: killed at the time limit.
    RenderLimits limits;
    limits.time = 300ms;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(renderIsolated(RenderRequest::pdfFirstPage(bomb(), 256), limits, {}).isNull());
    EXPECT_LT(clock.elapsed(), 3000);

    // Cancelled by its caller long before the limit: asked once while the
    // renderer is at work, it says no, then stop.
    limits.time = 60s;
    int asked = 0;
    clock.restart();
    EXPECT_FALSE(
        readTextIsolated(RenderRequest::pdfTextLayer(bomb()), limits, [&] { return ++asked > 1; }));
    EXPECT_EQ(asked, 2);
    EXPECT_LT(clock.elapsed(), 3000);

    // Through the thumbnail generator too.
    limits.time = 1s;
    FileThumbnailGenerator generator(FreedesktopThumbnails(tree.path(QStringLiteral("cache"))),
                                     limits);
    clock.restart();
    EXPECT_TRUE(generator.make(FileEntry::fromPath(bomb()), 256, [] { return false; }).isNull());
    EXPECT_LT(clock.elapsed(), 5000);
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(IsolatedRenderTest, RenderingBeyondTheMemoryLimitFails)
{
    // A 3000-pixel page needs about 30 MB for its pixels alone.
    const RenderRequest large = RenderRequest::pdfFirstPage(letter(), 3000);
    EXPECT_EQ(renderIsolated(large, {}, {}).height(), 3000);
    RenderLimits limits;
    limits.memory = qint64(8) << 20;
    EXPECT_TRUE(renderIsolated(large, limits, {}).isNull());
    EXPECT_EQ(renderIsolated(RenderRequest::pdfFirstPage(letter(), 64), limits, {}).height(), 64);
}
#endif

TEST_F(IsolatedRenderTest, ARendererServerThatDiedIsReplaced)
{
    ASSERT_FALSE(renderIsolated(RenderRequest::pdfFirstPage(letter(), 64), {}, {}).isNull());
    const QList<pid_t> servers = childrenRunning(::getpid(), rendererProgram());
    ASSERT_EQ(servers.size(), 1);
    ::kill(servers.first(), SIGKILL);
    ::waitpid(servers.first(), nullptr, 0);
    EXPECT_EQ(renderIsolated(RenderRequest::pdfFirstPage(letter(), 64), {}, {}).height(), 64);
    const QList<pid_t> replaced = childrenRunning(::getpid(), rendererProgram());
    ASSERT_EQ(replaced.size(), 1);
    EXPECT_NE(replaced.first(), servers.first());
}

// Run by the test below in a process of its own, which it kills.
TEST_F(IsolatedRenderTest, DISABLED_DrawsABombUntilKilled)
{
    RenderLimits limits;
    limits.time = 60s;
    renderIsolated(RenderRequest::pdfFirstPage(bomb(), 256), limits, {});
}

TEST_F(IsolatedRenderTest, RenderersEndWithTheApplication)
{
    QProcess application;
    // The killed test can't clean up after itself: its temporary files go inside this one's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), tree.root());
    application.setProcessEnvironment(environment);
    application.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_also_run_disabled_tests"),
         QStringLiteral("--gtest_filter=IsolatedRenderTest.DISABLED_DrawsABombUntilKilled")});
    ASSERT_TRUE(application.waitForStarted());
    pid_t server = 0, renderer = 0;
    ASSERT_TRUE(waitLong([&] {
        const QList<pid_t> servers = childrenRunning(application.processId(), rendererProgram());
        const QList<pid_t> renderers = servers.size() == 1
                                           ? childrenRunning(servers.first(), rendererProgram())
                                           : QList<pid_t>();
        if (renderers.size() != 1) return false;
        server = servers.first();
        renderer = renderers.first();
        return true;
    }));
    application.kill();
    ASSERT_TRUE(application.waitForFinished());
    EXPECT_TRUE(waitLong([&] { return ended(server) && ended(renderer); }));
}
