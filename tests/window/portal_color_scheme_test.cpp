#include "private_session_bus.h"
#include "window/desktop_color_scheme.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
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
        connection_.unregisterService(portalService);
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

// The scheme makes this process's session connection on first use, and it
// stays for the life of the process: one private bus serves every test here.
class PortalColorSchemeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bus = new PrivateSessionBus; }
    static void TearDownTestSuite()
    {
        delete bus;
        bus = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(bus->failure().isEmpty()) << bus->failure().toStdString(); }

    // Whatever the portal sent before has reached its receivers: the portal
    // answers a call only after it, and the bus keeps each sender's order.
    static void settle()
    {
        QDBusInterface portal(portalService, portalPath, settingsInterface,
                              QDBusConnection::sessionBus());
        portal.call(QStringLiteral("ReadOne"), QStringLiteral("org.freedesktop.appearance"),
                    QStringLiteral("color-scheme"));
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
    }

    static inline PrivateSessionBus* bus = nullptr;
};

} // namespace

TEST_F(PortalColorSchemeTest, ReadsThePreferenceAndFollowsItsChanges)
{
    PortalHost host(bus->address(), 1, true);
    ASSERT_TRUE(host.registered());

    PortalColorScheme scheme;
    EXPECT_TRUE(scheme.prefersDark());
    // The scheme asks the bus for the signal without waiting; a call on the same
    // connection is answered only after the bus took that request.
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(portalService));

    QSignalSpy changed(&scheme, &DesktopColorScheme::changed);
    // Another setting, or the same value again, changes nothing.
    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"), 0);
    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
    settle();
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_TRUE(scheme.prefersDark());

    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !scheme.prefersDark(); }, 5000));
    host.announce(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheme.prefersDark(); }, 5000));
    settle();
    EXPECT_EQ(changed.size(), 2);
}

TEST_F(PortalColorSchemeTest, AnOldPortalIsReadThroughRead)
{
    PortalHost host(bus->address(), 1, false);
    ASSERT_TRUE(host.registered());
    EXPECT_TRUE(PortalColorScheme().prefersDark());
}

TEST_F(PortalColorSchemeTest, WithoutAPortalTheSchemeIsLight)
{
    PortalColorScheme scheme;
    EXPECT_FALSE(scheme.prefersDark());
}
