#pragma once

#include <QString>

// True when `path` names a regular file, after following links. Readers of
// pictures, movies and PDFs open what they are given: a pipe would block them
// until some writer comes, a device would never end, so they look first.
bool isRegularFile(const QString& path);
