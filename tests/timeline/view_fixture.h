#pragma once

#include "held_copies.h"
#include "test_support.h"
#include "window/appearance.h"
#include "workspace/workspace_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QWidget>
#include <gtest/gtest.h>

// A section model over real files, with its own transfer queue and a
// scripted discovery, the way the window's router makes them.
// Files named *.bin stand for copies too long to finish while a test looks.
class ViewTest : public ::testing::Test, protected WorkspaceFixture {
protected:
    ViewTest()
        : WorkspaceFixture(std::make_shared<HeldCopies>(
              [](const QString& source) { return source.endsWith(QStringLiteral(".bin")); }))
    {
    }
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The offscreen platform looks for icon themes only in the resources.
        if (!QIcon::themeSearchPaths().contains(QStringLiteral("/usr/share/icons")))
            QIcon::setThemeSearchPaths(QIcon::themeSearchPaths()
                                       << QStringLiteral("/usr/share/icons"));
        applyAppearance(*qApp, Appearance::Light);
    }
    void TearDown() override
    {
        if (model) model->cancelScan();
        model.reset();
        applyAppearance(*qApp, Appearance::Light);
    }

    // Writes `name` in the test folder and sets its modification time.
    QString fileModifiedAt(const QString& name, const QDateTime& when, const QByteArray& data = "x")
    {
        const QString path = tree.file(name, data);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
        return path;
    }

    // Grabs `view` at `size` in both appearances into the shots folder.
    static QList<QImage> grabBoth(QWidget& view, const QString& name, QSize size = {900, 700})
    {
        const QString dir = QDir::temp().filePath(QStringLiteral("quorvane-shots"));
        QDir().mkpath(dir);
        QList<QImage> images;
        for (const Appearance appearance : {Appearance::Light, Appearance::Dark}) {
            applyAppearance(*qApp, appearance);
            view.resize(size);
            view.show();
            QApplication::processEvents();
            const QImage image = view.grab().toImage();
            const QString suffix = appearance == Appearance::Dark ? "-dark.png" : "-light.png";
            image.save(QDir(dir).filePath(name + suffix));
            images << image;
        }
        applyAppearance(*qApp, Appearance::Light);
        return images;
    }

    TempTree tree;
};
