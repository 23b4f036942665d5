#include "single_instance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>
#include <unistd.h>

namespace {

constexpr int connectTimeoutMs = 1000;
constexpr int writeTimeoutMs = 2000;

} // namespace

QString SingleInstance::defaultKey()
{
    const QString uid = QString::number(::getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(QStringLiteral("quorvane"));
    return QStringLiteral("quorvane-") + uid;
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key))
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::start(const QString& folder)
{
    if (forward(folder)) return Role::Forwarded;
    if (listen()) return Role::First;
    // Someone may have started listening between our two attempts.
    if (forward(folder)) return Role::Forwarded;
    return Role::Alone;
}

bool SingleInstance::isListening() const
{
    return server_ && server_->isListening();
}

bool SingleInstance::forward(const QString& folder)
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(connectTimeoutMs)) return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << folder;
    socket.write(message);
    // The kernel keeps the bytes for the listener, so there is nothing to
    // wait for once they are written (and the listener may be this thread).
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(writeTimeoutMs)) return false;
    socket.disconnectFromServer();
    return true;
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
        auto read = [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QString folder;
            in >> folder;
            if (!in.commitTransaction()) return;
            socket->disconnectFromServer();
            Q_EMIT activationRequested(folder);
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        // The sender may have written and gone before the socket was accepted.
        if (socket->bytesAvailable() > 0) read();
    }
}

QString launchFolder(const QString& argument)
{
    if (argument.isEmpty()) return {};
    QString path = argument;
    if (argument.startsWith(u"file:", Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (!url.isLocalFile()) return {};
        path = url.toLocalFile();
    }
    const QFileInfo info(QDir::current(), path);
    if (!info.isDir()) return {};
    return QDir::cleanPath(info.absoluteFilePath());
}
