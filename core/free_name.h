#pragma once

#include <QString>

// The names the desktop gives a second item of the same name in one folder:
// "report (2).pdf", the number before the extension; a folder has none.
namespace FreeName {

// `name` with the number `n` put in; an existing " (k)" is replaced, so
// "report (2).pdf" with 3 gives "report (3).pdf".
QString numbered(const QString& name, int n, bool isFolder);

// The first numbered name from 2 on that nothing in `folder` has yet.
// Only a hint: the caller's move must still refuse to replace.
QString next(const QString& folder, const QString& name, bool isFolder);

} // namespace FreeName
