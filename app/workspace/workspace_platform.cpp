#include "workspace/workspace_platform.h"

WorkspacePlatform WorkspacePlatform::headless()
{
    auto clipboard = std::make_shared<QList<QUrl>>();
    auto cut = std::make_shared<bool>(false);
    WorkspacePlatform platform;
    platform.chooseFolder = [](const QString&, const QString&) { return std::nullopt; };
    platform.chooseItems = [](const QString&) { return QStringList(); };
    platform.modifiers = [] { return Qt::KeyboardModifiers(); };
    platform.writeClipboard = [clipboard, cut](const QList<QUrl>& urls) {
        *clipboard = urls;
        *cut = false;
    };
    platform.cutToClipboard = [clipboard, cut](const QList<QUrl>& urls) {
        *clipboard = urls;
        *cut = !urls.isEmpty();
    };
    platform.clipboardIsCut = [cut] { return *cut; };
    platform.readClipboard = [clipboard]() -> std::optional<QList<QUrl>> {
        if (clipboard->isEmpty()) return std::nullopt;
        return *clipboard;
    };
    return platform;
}
