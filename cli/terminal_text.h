#pragma once

#include <QByteArray>
#include <QStringView>

// Text for a terminal row: control characters, bytes that aren't UTF-8 and the
// backslash itself become C escapes as `ls -b` writes them ("a\nb", "\377",
// "a\\b"), so a name can neither split a row nor steer the terminal.
QByteArray terminalText(QStringView text);
