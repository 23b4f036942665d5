#include "tracker_miner_activity.h"

#include <gio/gio.h>
#include <libintl.h>

namespace {

bool isIdle(const QString& status)
{
    // The miners report their status in their own translation.
    static const QString translated = QString::fromUtf8(dgettext("tracker3-miners", "Idle"));
    return status == u"Idle" || status == translated;
}

GVariant* callMiner(GDBusConnection* bus, const QByteArray& name, const QByteArray& path,
                    const char* method, const GVariantType* reply)
{
    GError* error = nullptr;
    GVariant* result = g_dbus_connection_call_sync(
        bus, name.constData(), path.constData(), "org.freedesktop.Tracker3.Miner", method, nullptr,
        reply, G_DBUS_CALL_FLAGS_NO_AUTO_START, 2000, nullptr, &error);
    g_clear_error(&error);
    return result;
}

} // namespace

bool TrackerMinerActivity::MinerState::working() const
{
    return reachable && (progress < 1.0 || !isIdle(status));
}

TrackerMinerActivity::MinerState TrackerMinerActivity::stateOf(const char* miner)
{
    MinerState state;
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        g_clear_error(&error);
        return state;
    }
    const QByteArray name = QByteArray("org.freedesktop.Tracker3.Miner.") + miner;
    const QByteArray path = QByteArray("/org/freedesktop/Tracker3/Miner/") + miner;
    if (GVariant* reply = callMiner(bus, name, path, "GetProgress", G_VARIANT_TYPE("(d)"))) {
        state.reachable = true;
        g_variant_get(reply, "(d)", &state.progress);
        g_variant_unref(reply);
        if (GVariant* status = callMiner(bus, name, path, "GetStatus", G_VARIANT_TYPE("(s)"))) {
            const gchar* text = nullptr;
            g_variant_get(status, "(&s)", &text);
            state.status = QString::fromUtf8(text);
            g_variant_unref(status);
        }
    }
    g_object_unref(bus);
    return state;
}

bool TrackerMinerActivity::working()
{
    const MinerState files = stateOf("Files");
    const MinerState extractor = stateOf("Extract");
    QMutexLocker lock(&mutex_);
    if (files.working()) {
        crawlSeen_ = true;
        extractorAwaited_.reset();
        return true;
    }
    if (extractor.reachable) {
        crawlSeen_ = false;
        extractorAwaited_.reset();
        return extractor.working();
    }
    // The file miner starts the extractor only once its crawl is over, so
    // right after a crawl nobody reports the classifying still to come.
    if (!crawlSeen_) return false;
    if (!extractorAwaited_) {
        extractorAwaited_.emplace();
        extractorAwaited_->start();
    }
    if (extractorAwaited_->elapsed() < extractorStartMs) return true;
    crawlSeen_ = false;
    extractorAwaited_.reset();
    return false;
}
