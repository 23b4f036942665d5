#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
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
    QTest::qWait(50);
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

    EXPECT_EQ(launchFolder(file.fileName()), QString()); // a file, not a folder
    EXPECT_EQ(launchFolder(dir.filePath(QStringLiteral("missing"))), QString());
    EXPECT_EQ(launchFolder(QStringLiteral("https://example.org/folder")), QString());
    EXPECT_EQ(launchFolder(QString()), QString());
}
