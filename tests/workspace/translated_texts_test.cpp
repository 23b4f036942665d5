// The shared widgets, section names and file messages show a loaded
// translation, and their own English again once it is removed.
#include "file_error.h"
#include "file_size_format.h"
#include "sections/feature.h"
#include "transfers/transfer_list_model.h"
#include "ui/name_sheet.h"
#include "ui/tool_scope_bar.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// A German translation of a few texts, compiled the way a release compiles one.
const char* const germanTs = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS><TS version="2.1" language="de">
<context><name>NameSheet</name>
<message><source>Save</source><translation>Sichern</translation></message>
<message><source>Cancel</source><translation>Abbrechen</translation></message>
<message><source>Name</source><translation>Bezeichnung</translation></message>
</context>
<context><name>ToolScopeBar</name>
<message><source>Refresh</source><translation>Aktualisieren</translation></message>
<message><source>All indexed locations</source><translation>Alle indizierten Orte</translation></message>
</context>
<context><name>Feature</name>
<message><source>Storage Analyzer</source><translation>Speicheranalyse</translation></message>
</context>
<context><name>TransferStatus</name>
<message><source>Failed</source><translation>Fehlgeschlagen</translation></message>
</context>
<context><name>FileError</name>
<message><source>An item named %1 already exists in this location.</source>
<translation>Hier gibt es schon ein Objekt namens %1.</translation></message>
</context>
<context><name>FileSize</name>
<message numerus="yes"><source>%n bytes</source><translation>
<numerusform>%n Byte</numerusform><numerusform>%n Bytes</numerusform></translation></message>
</context></TS>
)";

QPushButton* buttonLabelled(const QWidget& parent, const QString& text)
{
    for (QPushButton* button : parent.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

class TranslatedTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile ts(scratch_.filePath(QStringLiteral("quorvane_de.ts")));
        ASSERT_TRUE(ts.open(QIODevice::WriteOnly));
        ts.write(germanTs);
        ts.close();
        const QString qm = scratch_.filePath(QStringLiteral("quorvane_de.qm"));
        ASSERT_EQ(QProcess::execute(
                      QStringLiteral("/usr/lib/qt6/bin/lrelease"),
                      {QStringLiteral("-silent"), ts.fileName(), QStringLiteral("-qm"), qm}),
                  0);
        ASSERT_TRUE(german_.load(qm));
        ASSERT_TRUE(QCoreApplication::installTranslator(&german_));
    }
    void TearDown() override { QCoreApplication::removeTranslator(&german_); }

    QTemporaryDir scratch_;
    QTranslator german_;
};

} // namespace

TEST_F(TranslatedTexts, WidgetsShowTheTranslationAndItsButtonsStillAct)
{
    QString saved;
    NameSheet sheet(QStringLiteral("Neuer Ordner"), QString(),
                    [&saved](const QString& name) { saved = name; });
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    auto* field = sheet.findChild<QLineEdit*>();
    ASSERT_TRUE(field);
    EXPECT_EQ(field->placeholderText(), QStringLiteral("Bezeichnung"));
    EXPECT_TRUE(buttonLabelled(sheet, QStringLiteral("Abbrechen")));
    EXPECT_FALSE(buttonLabelled(sheet, QStringLiteral("Save")));
    QTest::keyClicks(field, QStringLiteral("Fotos"));
    QPushButton* save = buttonLabelled(sheet, QStringLiteral("Sichern"));
    ASSERT_TRUE(save);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(saved, QStringLiteral("Fotos"));

    ToolScopeBar bar;
    bar.show();
    EXPECT_EQ(bar.runButton()->text(), QStringLiteral("Aktualisieren"));
    EXPECT_EQ(bar.subtitle(), QStringLiteral("Alle indizierten Orte"));
}

TEST_F(TranslatedTexts, SectionTitlesStatusesAndFileMessagesAreTranslatedButIdsAreNot)
{
    EXPECT_EQ(titleOf(Feature::Storage), QStringLiteral("Speicheranalyse"));
    EXPECT_EQ(rawValue(Feature::Storage), QStringLiteral("Storage Analyzer"));
    EXPECT_EQ(fromRawValue<Feature>(u"Storage Analyzer"), Feature::Storage);
    EXPECT_EQ(TransferListModel::statusText(TransferStatus::Failed),
              QStringLiteral("Fehlgeschlagen"));
    EXPECT_EQ(rawValue(TransferStatus::Failed), QStringLiteral("Failed"));

    const FileError taken(FileError::Code::FileWriteFileExists, QStringLiteral("/tmp/a/Fotos"));
    EXPECT_EQ(taken.message(),
              QStringLiteral("Hier gibt es schon ein Objekt namens \u201CFotos\u201D."));
    EXPECT_EQ(formatFileSize(5), QStringLiteral("5 Bytes"));

    QCoreApplication::removeTranslator(&german_);
    EXPECT_EQ(titleOf(Feature::Storage), QStringLiteral("Storage Analyzer"));
    EXPECT_EQ(TransferListModel::statusText(TransferStatus::Failed), QStringLiteral("Failed"));
    EXPECT_EQ(
        FileError(FileError::Code::FileWriteFileExists, QStringLiteral("/tmp/a/Fotos")).message(),
        QStringLiteral("An item named \u201CFotos\u201D already exists in this location."));
    EXPECT_EQ(formatFileSize(1), QStringLiteral("1 byte"));
    EXPECT_EQ(formatFileSize(5), QStringLiteral("5 bytes"));
    EXPECT_EQ(formatFileSize(3400000), QStringLiteral("3.4 MB"));
}
