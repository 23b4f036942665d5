#include "command_registry.h"

void registerDiscoveryCommands(CommandRegistry& registry, const DiscoveryRunner& run)
{
    registry.add({QStringLiteral("discover"),
                  QStringLiteral("KIND [--screenshots] [--watch]"),
                  QStringLiteral("Lists what the desktop's file index holds of KIND (image, video, "
                                 "audio, document, other), newest first; --watch follows changes."),
                  {{QStringLiteral("screenshots"), QStringLiteral("watch")}, {}, 1, 1},
                  [run](const Arguments& args) { return run(QStringLiteral("discover"), args); }});
    registry.add({QStringLiteral("meta"),
                  QStringLiteral("FILE\u2026"),
                  QStringLiteral("Pixel size and play time of media files, from their headers."),
                  {{}, {}, 1, -1},
                  [run](const Arguments& args) { return run(QStringLiteral("meta"), args); }});
}
