#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QThread>
#include <QVariant>

// Stands in for a desktop service on the session bus: records the method
// calls made to `path` and answers each with `reply`. It answers from a
// thread of its own, so a blocking call from the test's thread gets through.
class FakeDBusService {
public:
    FakeDBusService(const QString& service, const QString& path, QVariantList reply = {})
        : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                    QStringLiteral("fake ") + service)),
          service_(service), object_(this, std::move(reply))
    {
        object_.moveToThread(&thread_);
        thread_.start();
        registered_ = connection_.registerVirtualObject(path, &object_) &&
                      connection_.registerService(service);
    }
    ~FakeDBusService()
    {
        connection_.unregisterService(service_);
        thread_.quit();
        thread_.wait();
        object_.moveToThread(QThread::currentThread());
        QDBusConnection::disconnectFromBus(connection_.name());
    }
    FakeDBusService(const FakeDBusService&) = delete;
    FakeDBusService& operator=(const FakeDBusService&) = delete;

    bool registered() const { return registered_; }
    QList<QDBusMessage> calls() const
    {
        QMutexLocker lock(&mutex_);
        return calls_;
    }

private:
    class Object : public QDBusVirtualObject {
    public:
        Object(FakeDBusService* owner, QVariantList reply) : owner_(owner), reply_(std::move(reply))
        {
        }
        bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
        {
            {
                QMutexLocker lock(&owner_->mutex_);
                owner_->calls_ << message;
            }
            connection.send(message.createReply(reply_));
            return true;
        }
        QString introspect(const QString&) const override { return {}; }

    private:
        FakeDBusService* owner_;
        QVariantList reply_;
    };

    QDBusConnection connection_;
    QString service_;
    QThread thread_;
    Object object_;
    bool registered_ = false;
    mutable QMutex mutex_;
    QList<QDBusMessage> calls_;
};
