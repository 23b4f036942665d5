#include "workspace/workspace_platform.h"

WorkspacePlatform WorkspacePlatform::headless()
{
    auto clipboard = std::make_shared<QList<QUrl>>();
    WorkspacePlatform platform;
    platform.chooseFolder = [](const QString&, const QString&) { return std::nullopt; };
    platform.chooseItems = [](const QString&) { return QStringList(); };
    platform.modifiers = [] { return Qt::KeyboardModifiers(); };
    platform.writeClipboard = [clipboard](const QList<QUrl>& urls) { *clipboard = urls; };
    platform.readClipboard = [clipboard]() -> std::optional<QList<QUrl>> {
        if (clipboard->isEmpty()) return std::nullopt;
        return *clipboard;
    };
    return platform;
}
