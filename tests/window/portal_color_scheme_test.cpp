#include "private_session_bus.h"
#include "window/desktop_color_scheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

// The settings part of a desktop portal, on a connection and a thread of its
// own, so that the scheme's blocking call is answered while the test waits in it.
class FakePortal : public QDBusVirtualObject {
public:
    // An old portal knows Read only, whose answer is wrapped twice.
    FakePortal(uint scheme, bool knowsReadOne) : scheme_(scheme), knowsReadOne_(knowsReadOne) {}

    QString introspect(const QString&) const override
    {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.portal.Settings\">"
            "<method name=\"Read\"><arg type=\"s\" direction=\"in\"/><arg type=\"s\" "
            "direction=\"in\"/><arg type=\"v\" direction=\"out\"/></method>"
            "<method name=\"ReadOne\"><arg type=\"s\" direction=\"in\"/><arg type=\"s\" "
            "direction=\"in\"/><arg type=\"v\" direction=\"out\"/></method>"
            "<signal name=\"SettingChanged\"><arg type=\"s\"/><arg type=\"s\"/><arg "
            "type=\"v\"/></signal></interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != settingsInterface) return false;
        const QVariantList asked = message.arguments();
        const bool colorScheme = asked.size() == 2 &&
                                 asked[0].toString() == u"org.freedesktop.appearance" &&
                                 asked[1].toString() == u"color-scheme";
        QDBusMessage reply;
        if (message.member() == u"ReadOne" && knowsReadOne_ && colorScheme)
            reply = message.createReply(QVariant::fromValue(QDBusVariant(scheme_)));
        else if (message.member() == u"Read" && colorScheme)
            reply = message.createReply(
                QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(scheme_)))));
        else
            reply =
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                         QStringLiteral("No such method"));
        connection.send(reply);
        return true;
    }

private:
    uint scheme_;
    bool knowsReadOne_;
};

class PortalHost {
public:
    PortalHost(const QString& address, uint scheme, bool knowsReadOne)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-portal"))),
          portal_(scheme, knowsReadOne)
    {
        thread_.start();
        portal_.moveToThread(&thread_);
        registered_ = connection_.registerVirtualObject(portalPath, &portal_) &&
                      connection_.registerService(portalService);
    }
    ~PortalHost()
    {
        connection_.unregisterObject(portalPath);
        thread_.quit();
        thread_.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }
    bool registered() const { return registered_; }

    // What a portal sends when the user changes the desktop's scheme.
    void announce(const QString& group, const QString& key, uint scheme)
    {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, settingsInterface,
                                                         QStringLiteral("SettingChanged"));
        signal << group << key << QVariant::fromValue(QDBusVariant(scheme));
        connection_.send(signal);
    }

private:
    QDBusConnection connection_;
    FakePortal portal_;
    QThread thread_;
    bool registered_ = false;
};

} // namespace

// Each test runs in a process of its own, and the scheme makes this process's
// session connection on first use: the private bus is in place before that.
TEST(PortalColorSchemeTest, ReadsThePreferenceAndFollowsItsChanges)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.failure().isEmpty()) << bus.failure().toStdString();
    PortalHost host(bus.address(), 1, true);
    ASSERT_TRUE(host.registered());

    PortalColorScheme scheme;
    EXPECT_TRUE(scheme.prefersDark());

    QSignalSpy changed(&scheme, &DesktopColorScheme::changed);
    // Another setting, or the same value again, changes nothing.
    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"), 0);
    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !changed.isEmpty(); }, 5000));
    EXPECT_FALSE(scheme.prefersDark());
    QTest::qWait(100);
    EXPECT_EQ(changed.size(), 1);

    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() == 2; }, 5000));
    EXPECT_TRUE(scheme.prefersDark());
}

TEST(PortalColorSchemeTest, AnOldPortalIsReadThroughRead)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.failure().isEmpty()) << bus.failure().toStdString();
    PortalHost host(bus.address(), 1, false);
    ASSERT_TRUE(host.registered());
    EXPECT_TRUE(PortalColorScheme().prefersDark());
}

TEST(PortalColorSchemeTest, WithoutAPortalTheSchemeIsLight)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.failure().isEmpty()) << bus.failure().toStdString();
    PortalColorScheme scheme;
    EXPECT_FALSE(scheme.prefersDark());
}
