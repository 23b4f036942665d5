#pragma once

#include <QObject>

class QDBusVariant;

// The desktop's light or dark preference, which the "System" appearance follows.
class DesktopColorScheme : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool prefersDark() const = 0;

Q_SIGNALS:
    // The desktop's preference changed while the application runs.
    void changed();
};

// The preference as the XDG desktop portal publishes it
// (org.freedesktop.appearance color-scheme, 1 = prefer dark). Without a portal
// the preference is light and never changes.
class PortalColorScheme : public DesktopColorScheme {
    Q_OBJECT
public:
    explicit PortalColorScheme(QObject* parent = nullptr);
    bool prefersDark() const override { return dark_; }

    // Whether a color-scheme value, as the portal sends it, asks for dark.
    static bool meansDark(const QVariant& value);

private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    bool dark_ = false;
};
