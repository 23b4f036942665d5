#include "ui/desktop_applications.h"

#include "native_path.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>

namespace {

template <typename T> struct GObjectDeleter {
    void operator()(T* object) const
    {
        if (object) g_object_unref(object);
    }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

QString iconOf(GAppInfo* info)
{
    GIcon* icon = g_app_info_get_icon(info); // owned by the info
    if (!icon) return {};
    if (G_IS_THEMED_ICON(icon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        return names && names[0] ? QString::fromUtf8(names[0]) : QString();
    }
    if (G_IS_FILE_ICON(icon)) {
        GObjectPtr<GFile> file(G_FILE(g_object_ref(g_file_icon_get_file(G_FILE_ICON(icon)))));
        gchar* path = g_file_get_path(file.get());
        const QString result = QString::fromUtf8(path);
        g_free(path);
        return result;
    }
    return {};
}

std::optional<DesktopApplication> applicationOf(GAppInfo* info)
{
    const char* id = g_app_info_get_id(info);
    // Only applications of desktop files can be named again for launching.
    if (!id) return std::nullopt;
    return DesktopApplication{QString::fromUtf8(id), QString::fromUtf8(g_app_info_get_name(info)),
                              iconOf(info)};
}

} // namespace

namespace DesktopApplications {

QString mimeTypeOf(const QString& path)
{
    return QMimeDatabase().mimeTypeForFile(path).name();
}

std::optional<DesktopApplication> defaultFor(const QString& mimeType)
{
    const QByteArray type = mimeType.toUtf8();
    GObjectPtr<GAppInfo> info(g_app_info_get_default_for_type(type.constData(), FALSE));
    return info ? applicationOf(info.get()) : std::nullopt;
}

QList<DesktopApplication> allFor(const QString& mimeType)
{
    QList<DesktopApplication> found;
    if (const std::optional<DesktopApplication> preferred = defaultFor(mimeType))
        found << *preferred;
    const QByteArray type = mimeType.toUtf8();
    GList* all = g_app_info_get_all_for_type(type.constData());
    for (GList* item = all; item; item = item->next) {
        const std::optional<DesktopApplication> application = applicationOf(G_APP_INFO(item->data));
        if (application && !found.contains(*application)) found << *application;
    }
    g_list_free_full(all, g_object_unref);
    return found;
}

std::optional<QString> launch(const QString& applicationId, const QStringList& paths)
{
    const QByteArray id = applicationId.toUtf8();
    GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(id.constData()));
    if (!info)
        return QCoreApplication::translate("DesktopApplications",
                                           "The application \u201c%1\u201d is no longer installed.")
            .arg(applicationId);
    QList<QByteArray> uris;
    for (const QString& path : paths)
        uris << urlForPath(path).toEncoded();
    GList* list = nullptr;
    for (const QByteArray& uri : std::as_const(uris))
        list = g_list_append(list, const_cast<char*>(uri.constData()));
    GError* error = nullptr;
    const gboolean started = g_app_info_launch_uris(G_APP_INFO(info.get()), list, nullptr, &error);
    g_list_free(list);
    if (started) return std::nullopt;
    const QString name = QString::fromUtf8(g_app_info_get_name(G_APP_INFO(info.get())));
    const QString reason = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    return QCoreApplication::translate("DesktopApplications", "%1 could not be started: %2")
        .arg(name, reason);
}

} // namespace DesktopApplications
