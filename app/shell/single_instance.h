#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One window per user: the first launch listens on a local socket, later
// launches hand it their folder and quit.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        First,     // this process listens and shows the window
        Forwarded, // a running instance took the request; quit with status 0
        Alone,     // no running instance and no safe socket either; show the window anyway
    };

    // The largest request a launch may send: a length and a path of PATH_MAX
    // bytes as UTF-16.
    static constexpr qint64 maxMessageBytes = 4 + 2 * 4096;

    // The socket of this user, in a folder nobody else can write:
    // $XDG_RUNTIME_DIR when the user owns it with mode 0700, else a private
    // folder of this user under the temporary folder. Empty when neither is
    // safe to use.
    static QString defaultKey();

    explicit SingleInstance(QString key = defaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands `folder` (an absolute path, or empty for "just come to the front")
    // to a running instance, or becomes the running instance.
    Role start(const QString& folder);
    bool isListening() const;
    QString key() const { return key_; }

Q_SIGNALS:
    // Another launch asked for the window, with its folder (possibly empty).
    void activationRequested(const QString& folder);

private:
    enum class Delivery { Delivered, NoListener, Refused };

    Delivery forward(const QString& folder);
    bool listen();
    void accept();
    void serve(QLocalSocket* socket);

    QString key_;
    QLocalServer* server_ = nullptr;
};

// The folder a command-line argument names, as an absolute path: a path
// relative to the working folder or a file:// URL (as desktop launchers pass
// with %U). Empty when the argument names no local folder.
QString launchFolder(const QString& argument);
