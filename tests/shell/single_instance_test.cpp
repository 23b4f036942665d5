#include "native_path.h"
#include "shell/single_instance.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Leaves a socket file behind as a crashed run would: bound, never unlinked.
bool leaveStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof(address.sun_path)) return ::close(fd), false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                       ::listen(fd, 1) == 0;
    ::close(fd);
    return bound && QFile::exists(path);
}

int listeningSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::copy(name.begin(), name.end(), address.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(fd, 4) != 0)
        return -1;
    return fd;
}

// The connections `listener` has accepted and not yet let go of.
qsizetype connectionsHeldBy(const SingleInstance& listener)
{
    return listener.findChildren<QLocalSocket*>().size();
}

// A folder every user may write in, as the shared temporary folder is.
QString openFolder(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(path).constData(), 01777);
    return path;
}

} // namespace

TEST(SingleInstanceTest, ASecondLaunchHandsItsFolderToTheFirst)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString key = dir.filePath(QStringLiteral("instance"));

    SingleInstance first(key);
    ASSERT_EQ(first.start({}), SingleInstance::Role::First);
    EXPECT_TRUE(first.isListening());
    QSignalSpy requests(&first, &SingleInstance::activationRequested);

    const QString folder = dir.filePath(QStringLiteral("Ünïcode folder\nwith a line break"));
    SingleInstance second(key);
    EXPECT_EQ(second.start(folder), SingleInstance::Role::Forwarded);
    EXPECT_FALSE(second.isListening());
    SingleInstance third(key);
    EXPECT_EQ(third.start({}), SingleInstance::Role::Forwarded);

    ASSERT_TRUE(QTest::qWaitFor([&] { return requests.size() == 2; }, 5000));
    // Each launch is one request, whatever order the sockets are accepted in.
    QStringList folders{requests.at(0).at(0).toString(), requests.at(1).at(0).toString()};
    folders.sort();
    EXPECT_EQ(folders, (QStringList{QString(), folder}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return connectionsHeldBy(first) == 0; }, 5000));
    EXPECT_EQ(requests.size(), 2);
}

TEST(SingleInstanceTest, AStaleSocketOrAnEndedFirstDoesNotBlockANewFirst)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString key = dir.filePath(QStringLiteral("crashed"));
    ASSERT_TRUE(leaveStaleSocket(key));

    {
        SingleInstance first(key);
        EXPECT_EQ(first.start(QStringLiteral("/ignored")), SingleInstance::Role::First);
        EXPECT_TRUE(first.isListening());
        QSignalSpy requests(&first, &SingleInstance::activationRequested);
        SingleInstance second(key);
        EXPECT_EQ(second.start(QStringLiteral("/tmp")), SingleInstance::Role::Forwarded);
        ASSERT_TRUE(requests.wait(5000));
        EXPECT_EQ(requests.at(0).at(0).toString(), QStringLiteral("/tmp"));
    }
    // The first one has ended; the next launch is first again.
    SingleInstance next(key);
    EXPECT_EQ(next.start({}), SingleInstance::Role::First);
}

TEST(SingleInstanceTest, WithoutAPlaceForTheSocketTheWindowStillOpens)
{
    SingleInstance nowhere(QStringLiteral("/nonexistent-folder/quorvane"));
    EXPECT_EQ(nowhere.start({}), SingleInstance::Role::Alone);
    EXPECT_FALSE(nowhere.isListening());
}

TEST(SingleInstanceTest, LaunchArgumentsNameLocalFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("My Photos")));
    QFile file(dir.filePath(QStringLiteral("note.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString photos = QDir(dir.path()).canonicalPath() + QStringLiteral("/My Photos");

    EXPECT_EQ(launchFolder(photos + QStringLiteral("/")), photos);
    EXPECT_EQ(launchFolder(QUrl::fromLocalFile(photos).toString()), photos); // "My%20Photos"
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QDir(dir.path()).canonicalPath()));
    EXPECT_EQ(launchFolder(QStringLiteral("My Photos")), photos);
    EXPECT_EQ(launchFolder(QStringLiteral("./My Photos/../My Photos")), photos);
    QDir::setCurrent(before);

    // A name that isn't UTF-8 keeps its bytes, given as a path or as a URL.
    const QByteArray oldDisk = QFile::encodeName(photos) + "/old\xff";
    ASSERT_EQ(::mkdir(oldDisk.constData(), 0700), 0);
    const QString old = decodePath(oldDisk);
    EXPECT_EQ(nativePath(launchFolder(old)), oldDisk);
    EXPECT_EQ(nativePath(launchFolder(urlForPath(old).toString())), oldDisk);
    // Removed by its bytes: the temporary folder's own clean-up can't name it.
    EXPECT_EQ(::rmdir(oldDisk.constData()), 0);

    EXPECT_EQ(launchFolder(file.fileName()), QString()); // a file, not a folder
    EXPECT_EQ(launchFolder(dir.filePath(QStringLiteral("missing"))), QString());
    EXPECT_EQ(launchFolder(QStringLiteral("https://example.org/folder")), QString());
    EXPECT_EQ(launchFolder(QString()), QString());
}

TEST(SingleInstanceTest, TheSocketLivesOnlyInAFolderNobodyElseCanWrite)
{
    QTemporaryDir runtime, temporary;
    ASSERT_TRUE(runtime.isValid() && temporary.isValid());
    const QByteArray runtimePath = QFile::encodeName(runtime.path());
    const ScopedEnv tmp("TMPDIR", QFile::encodeName(temporary.path()));

    ::chmod(runtimePath.constData(), 0700);
    {
        const ScopedEnv xdg("XDG_RUNTIME_DIR", runtimePath);
        EXPECT_EQ(SingleInstance::defaultKey(), runtime.filePath(QStringLiteral("quorvane")));
    }

    // A runtime folder others can enter is passed over for a private one.
    ::chmod(runtimePath.constData(), 0755);
    const QString own = temporary.filePath(QStringLiteral("quorvane-%1").arg(::getuid()));
    {
        const ScopedEnv xdg("XDG_RUNTIME_DIR", runtimePath);
        EXPECT_EQ(SingleInstance::defaultKey(), own + QStringLiteral("/instance"));
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }

    // A folder of that name that another user made first, or opened to all,
    // is never used: the window opens on its own instead.
    ASSERT_TRUE(QDir(own).removeRecursively());
    ASSERT_TRUE(QDir().mkdir(own));
    ::chmod(QFile::encodeName(own).constData(), 0777);
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::defaultKey(), QString());
    SingleInstance unsafe;
    EXPECT_EQ(unsafe.start(QStringLiteral("/tmp")), SingleInstance::Role::Alone);
    EXPECT_FALSE(QFile::exists(own + QStringLiteral("/instance")));

    ASSERT_TRUE(QDir(own).removeRecursively());
    ::symlink(QFile::encodeName(runtime.path()).constData(), QFile::encodeName(own).constData());
    EXPECT_EQ(SingleInstance::defaultKey(), QString()); // a link, even to a folder of ours
}

TEST(SingleInstanceTest, AnotherUsersLaunchIsNotObeyed)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString key = openFolder(dir, QStringLiteral("shared")) + QStringLiteral("/instance");
    SingleInstance first(key);
    ASSERT_EQ(first.start({}), SingleInstance::Role::First);
    ::chmod(QFile::encodeName(key).constData(), 0777);
    QSignalSpy requests(&first, &SingleInstance::activationRequested);

    const int status = runAsNobody([&] {
        SingleInstance intruder(key);
        return intruder.start(QStringLiteral("/tmp")) == SingleInstance::Role::Alone ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << "the intruder must see a listener that is not its own";
    EXPECT_EQ(requests.size(), 0);

    // The intruder's connection came first, so it has been dealt with when
    // this one's request arrives.
    SingleInstance second(key);
    EXPECT_EQ(second.start(QStringLiteral("/srv")), SingleInstance::Role::Forwarded);
    ASSERT_TRUE(requests.wait(5000));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.at(0).at(0).toString(), QStringLiteral("/srv"));
}

TEST(SingleInstanceTest, AListenerOfAnotherUserReceivesNoFolder)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString key = openFolder(dir, QStringLiteral("shared")) + QStringLiteral("/instance");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        if (!becomeNobody()) ::_exit(120);
        const int server = listeningSocket(key);
        if (server < 0) ::_exit(121);
        ::chmod(QFile::encodeName(key).constData(), 0777);
        ::alarm(10);
        (void)!::write(ready[1], "r", 1);
        const int client = ::accept(server, nullptr, nullptr);
        char buffer[64];
        const ssize_t got = ::read(client, buffer, sizeof(buffer));
        ::_exit(got > 0 ? 1 : 0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);

    SingleInstance launch(key);
    EXPECT_EQ(launch.start(QStringLiteral("/home/secret")), SingleInstance::Role::Alone);
    EXPECT_FALSE(launch.isListening());
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user's listener read our folder";
}

TEST(SingleInstanceTest, AnEndlessOrMalformedRequestIsCutOff)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString key = dir.filePath(QStringLiteral("instance"));
    SingleInstance first(key);
    ASSERT_EQ(first.start({}), SingleInstance::Role::First);
    QSignalSpy requests(&first, &SingleInstance::activationRequested);

    // A string that claims a gigabyte and keeps coming.
    QLocalSocket flood;
    flood.connectToServer(key);
    ASSERT_TRUE(flood.waitForConnected(2000));
    QByteArray header;
    QDataStream(&header, QIODevice::WriteOnly) << quint32(1u << 30);
    flood.write(header);
    const QByteArray chunk(64 * 1024, 'x');
    for (int i = 0; i < 16 && flood.state() == QLocalSocket::ConnectedState; ++i) {
        flood.write(chunk);
        flood.waitForBytesWritten(200);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return flood.state() == QLocalSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(requests.size(), 0);

    // A well-formed request after the first one on the same connection is not read.
    QLocalSocket twice;
    twice.connectToServer(key);
    ASSERT_TRUE(twice.waitForConnected(2000));
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << QStringLiteral("/one") << QStringLiteral("/two");
    twice.write(message);
    twice.waitForBytesWritten(2000);
    ASSERT_TRUE(requests.wait(5000));
    // Closed after its first request, the connection is read no further.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return twice.state() == QLocalSocket::UnconnectedState && connectionsHeldBy(first) == 0;
        },
        5000));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.at(0).at(0).toString(), QStringLiteral("/one"));
}
