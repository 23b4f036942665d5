#include "shell/single_instance.h"

#include "native_path.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QUrl>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int connectTimeoutMs = 1000;
constexpr int writeTimeoutMs = 2000;
// A launch writes its request at once; a silent peer is dropped.
constexpr int requestTimeoutMs = 5000;

// A folder only this user can enter and write: not a link, owned by us,
// no permissions for group or others.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString privateTemporaryFolder()
{
    const QString folder =
        QDir(QDir::tempPath()).filePath(QStringLiteral("quorvane-%1").arg(::getuid()));
    const QByteArray native = QFile::encodeName(folder);
    // mkdir fails on an existing name, which must then pass the same check:
    // another user may have made it first.
    ::mkdir(native.constData(), 0700);
    return isPrivateFolder(native) ? folder : QString();
}

// True when the process at the other end of a connected local socket runs as
// this user.
bool peerIsThisUser(qintptr socketDescriptor)
{
    ucred peer{};
    socklen_t length = sizeof(peer);
    if (::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
        return false;
    return peer.uid == ::getuid();
}

} // namespace

QString SingleInstance::defaultKey()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(QFile::encodeName(runtime)))
        return QDir(runtime).filePath(QStringLiteral("quorvane"));
    const QString folder = privateTemporaryFolder();
    if (folder.isEmpty()) return {};
    return QDir(folder).filePath(QStringLiteral("instance"));
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key))
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::start(const QString& folder)
{
    if (key_.isEmpty()) return Role::Alone;
    switch (forward(folder)) {
    case Delivery::Delivered:
        return Role::Forwarded;
    case Delivery::Refused:
        return Role::Alone;
    case Delivery::NoListener:
        break;
    }
    if (listen()) return Role::First;
    // Someone may have started listening between our two attempts.
    return forward(folder) == Delivery::Delivered ? Role::Forwarded : Role::Alone;
}

bool SingleInstance::isListening() const
{
    return server_ && server_->isListening();
}

SingleInstance::Delivery SingleInstance::forward(const QString& folder)
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(connectTimeoutMs)) return Delivery::NoListener;
    // Our folders go to our own window only.
    if (!peerIsThisUser(socket.socketDescriptor())) return Delivery::Refused;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << folder;
    if (message.size() > maxMessageBytes) return Delivery::Refused;
    socket.write(message);
    // The kernel keeps the bytes for the listener, so there is nothing to
    // wait for once they are written (and the listener may be this thread).
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(writeTimeoutMs)) return Delivery::NoListener;
    socket.disconnectFromServer();
    return Delivery::Delivered;
}

bool SingleInstance::listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    if (server_->listen(key_)) return true;
    // Nobody answered, so a socket file left by a crashed run is stale.
    QLocalServer::removeServer(key_);
    if (server_->listen(key_)) return true;
    delete server_;
    server_ = nullptr;
    return false;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (peerIsThisUser(socket->socketDescriptor()))
            serve(socket);
        else
            socket->abort();
    }
}

// One request per connection, of bounded size, within a bounded time.
void SingleInstance::serve(QLocalSocket* socket)
{
    socket->setReadBufferSize(maxMessageBytes + 1);
    QTimer::singleShot(requestTimeoutMs, socket, [socket] { socket->abort(); });
    auto read = [this, socket] {
        if (socket->bytesAvailable() > maxMessageBytes) {
            socket->abort();
            return;
        }
        QDataStream in(socket);
        in.startTransaction();
        QString folder;
        in >> folder;
        if (!in.commitTransaction()) {
            if (in.status() == QDataStream::ReadCorruptData) socket->abort();
            return;
        }
        socket->disconnect(this);
        socket->abort();
        Q_EMIT activationRequested(folder);
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    // The sender may have written and gone before the socket was accepted.
    if (socket->bytesAvailable() > 0) read();
}

QString launchFolder(const QString& argument)
{
    if (argument.isEmpty()) return {};
    QString path = argument;
    if (argument.startsWith(u"file:", Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (!url.isLocalFile()) return {};
        path = pathForUrl(url);
    }
    // Worked out on the decoded path itself: QFileInfo would encode it again
    // and lose the bytes that aren't UTF-8.
    if (QDir::isRelativePath(path)) path = currentFolder() + u'/' + path;
    path = QDir::cleanPath(path);
    struct stat status {};
    if (::stat(nativePath(path).constData(), &status) != 0 || !S_ISDIR(status.st_mode)) return {};
    return path;
}
