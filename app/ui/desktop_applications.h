#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// An application of the desktop that opens files (one .desktop file).
struct DesktopApplication {
    QString id;   // the desktop file's id, e.g. "org.gnome.TextEditor.desktop"
    QString name; // as the desktop shows it
    QString icon; // a theme icon name or an absolute path; may be empty

    friend bool operator==(const DesktopApplication&, const DesktopApplication&) = default;
};

// The desktop's MIME associations (the .desktop files and mimeapps.list of
// the XDG data and config folders) and the launching of their applications.
namespace DesktopApplications {

// The MIME type the associations are looked up by.
QString mimeTypeOf(const QString& path);
// The application that opens `mimeType` by default, if any.
std::optional<DesktopApplication> defaultFor(const QString& mimeType);
// Every application that says it opens `mimeType`, the default first.
QList<DesktopApplication> allFor(const QString& mimeType);
// Starts `applicationId` on `paths`; the reason when it could not start.
std::optional<QString> launch(const QString& applicationId, const QStringList& paths);

} // namespace DesktopApplications
