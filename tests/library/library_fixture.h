#pragma once

#include "file_entry.h"
#include "workspace/workspace_fixture.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A section model over real files in a temporary folder, fed by a scripted index.
struct LibraryFixture : WorkspaceFixture {
    QTemporaryDir dir;

    explicit LibraryFixture(Feature feature) : WorkspaceFixture(feature) {}
    QString path(const QString& name) const { return dir.filePath(name); }
    FileEntry picture(const QString& name, int width = 64, int height = 48,
                      QColor color = QColor(40, 120, 200))
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        EXPECT_TRUE(image.save(path(name)));
        return FileEntry::fromPath(path(name));
    }
    FileEntry textFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        return FileEntry::fromPath(path(name));
    }
    FileEntry pdf(const QString& name, int pages = 1)
    {
        QProcess::execute(QStringLiteral("python3"),
                          {QStringLiteral(QUORVANE_MKPDF_PATH), QStringLiteral("--pages"),
                           QString::number(pages), path(name), QStringLiteral("Quorvane page")});
        return FileEntry::fromPath(path(name));
    }
    // Hands the files to the model as the index's final answer and waits for the list.
    void deliver(const QList<FileEntry>& files)
    {
        ASSERT_TRUE(log->send(finalSnapshot(files)));
        ASSERT_TRUE(waitUntilSettled(*model));
    }
};
