#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <Qt>
#include <functional>
#include <memory>
#include <optional>

// The desktop facilities the section models ask for: dialogs, the clipboard
// and the modifier keys. The window gives the real ones; tests script them.
struct WorkspacePlatform {
    // One folder, or nothing when the user cancels.
    std::function<std::optional<QString>(const QString& prompt, const QString& message)>
        chooseFolder;
    // Files and folders in the dialog's order; empty when the user cancels.
    std::function<QStringList(const QString& prompt)> chooseItems;
    // The keys held right now (Ctrl plays the role of Command).
    std::function<Qt::KeyboardModifiers()> modifiers;
    // File URLs on the clipboard: write replaces, read gives nothing unless
    // the clipboard holds only local files.
    std::function<void(const QList<QUrl>&)> writeClipboard;
    std::function<std::optional<QList<QUrl>>()> readClipboard;
    // The same as writeClipboard, marked the desktop's way as cut: a paste moves them.
    std::function<void(const QList<QUrl>&)> cutToClipboard;
    // Whether the clipboard's files carry that mark.
    std::function<bool()> clipboardIsCut;

    // No dialogs (every one is cancelled), no modifiers and a clipboard of its own.
    static WorkspacePlatform headless();
};
