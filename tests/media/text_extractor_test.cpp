#include "file_error.h"
#include "media/media_fixtures.h"
#include "media/text_extractor.h"
#include "media/text_result.h"
#include "named_pipe.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class TextExtractorTest : public testing::Test {
protected:
    TempTree tree;

    static QString read(const QString& path)
    {
        QFuture<QString> future = TextExtractor::read(path);
        EXPECT_TRUE(waitLong([&] { return future.isFinished(); }));
        return future.result();
    }
};

TEST_F(TextExtractorTest, PdfTextLayerIsReturnedAsItIs)
{
    const QString upper = tree.path(QStringLiteral("INVOICE.PDF"));
    makePdf(upper, {QStringLiteral("Invoice number 4711"), QStringLiteral("The quick brown fox")});
    const QString text = read(upper);
    EXPECT_TRUE(text.contains(QStringLiteral("Invoice number 4711"))) << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("4711")), text.indexOf(QStringLiteral("quick")));

    const QString pages = tree.path(QStringLiteral("pages.pdf"));
    makePdf(pages, {QStringLiteral("Repeated page")},
            {QStringLiteral("--pages"), QStringLiteral("3")});
    EXPECT_EQ(read(pages).count(QStringLiteral("Repeated page")), 3);

    // Pages without a text layer are read as pictures; a blank one holds nothing.
    const QString blank = tree.path(QStringLiteral("blank.pdf"));
    makePdf(blank, {QString()});
    EXPECT_EQ(read(blank), TextExtractor::noTextMessage());
}

TEST_F(TextExtractorTest, ScannedPdfPagesAreRecognisedPageByPage)
{
    const QString scan = tree.path(QStringLiteral("scan.pdf"));
    makeScannedPdf(scan, {{QStringLiteral("Invoice 4711")},
                          {QStringLiteral("Paid in full")},
                          {QStringLiteral("Thank you")}});
    QStringList said;
    const QString text =
        TextExtractor::readNow(scan, {}, [&](const QString& line) { said << line; });
    EXPECT_EQ(text, QStringLiteral("Invoice 4711\nPaid in full\nThank you"));
    EXPECT_EQ(said, QStringList({QStringLiteral("Reading text… page 1 of 3"),
                                 QStringLiteral("Reading text… page 2 of 3"),
                                 QStringLiteral("Reading text… page 3 of 3")}));

    // Stopped on the second page, the third is never read.
    said.clear();
    EXPECT_THROW(
        TextExtractor::readNow(
            scan, [&] { return said.size() >= 2; }, [&](const QString& line) { said << line; }),
        Cancelled);
    EXPECT_EQ(said.size(), 2);

    // The future passes the progress on to whoever watches it.
    QFutureWatcher<QString> watcher;
    QStringList watched;
    QObject::connect(&watcher, &QFutureWatcherBase::progressTextChanged,
                     [&](const QString& line) { watched << line; });
    watcher.setFuture(TextExtractor::read(scan));
    ASSERT_TRUE(waitLong([&] { return watcher.isFinished(); }));
    EXPECT_TRUE(watched.contains(QStringLiteral("Reading text… page 1 of 3")))
        << watched.join(u'|').toStdString();
}

TEST_F(TextExtractorTest, UnreadablePdfGivesTheFixedMessage)
{
    EXPECT_EQ(TextExtractor::noPdfTextMessage(),
              QStringLiteral("No embedded text found in this PDF."));
    EXPECT_EQ(read(tree.file(QStringLiteral("damaged.pdf"), "%PDF-1.4\n1 0 obj")),
              TextExtractor::noPdfTextMessage());
    const QString locked = tree.path(QStringLiteral("locked.pdf"));
    makePdf(locked, {QStringLiteral("Secret")}, {QStringLiteral("--locked")});
    EXPECT_EQ(read(locked), TextExtractor::noPdfTextMessage());
}

TEST_F(TextExtractorTest, RecognitionFindsTheLinesOfAPictureInOrder)
{
    const QString picture = tree.path(QStringLiteral("scan.png"));
    savePicture(textPicture({QStringLiteral("Invoice 4711"), QStringLiteral("Paid in full"),
                             QStringLiteral("Thank you")}),
                picture);
    const QStringList lines = read(picture).split(u'\n');
    ASSERT_EQ(lines.size(), 3) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Invoice 4711"));
    EXPECT_EQ(lines[1], QStringLiteral("Paid in full"));
    EXPECT_EQ(lines[2], QStringLiteral("Thank you"));

    // No extension: still a picture.
    const QString bare = tree.path(QStringLiteral("scan"));
    savePicture(textPicture({QStringLiteral("Invoice 4711")}), bare + QStringLiteral(".jpg"));
    ASSERT_TRUE(QFile::rename(bare + QStringLiteral(".jpg"), bare));
    EXPECT_EQ(read(bare), QStringLiteral("Invoice 4711"));

    QImage white(800, 400, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QString empty = tree.path(QStringLiteral("white.png"));
    savePicture(white, empty);
    EXPECT_EQ(read(empty), QStringLiteral("No text found."));
}

TEST_F(TextExtractorTest, FilesThatAreNoPicturesFailWithAnError)
{
    for (const QString& name : {QStringLiteral("notes.txt"), QStringLiteral("README")}) {
        QFuture<QString> future = TextExtractor::read(tree.file(name, "plain words"));
        ASSERT_TRUE(waitLong([&] { return future.isFinished(); }));
        try {
            future.waitForFinished();
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), tree.path(name));
            EXPECT_FALSE(error.message().isEmpty());
        }
    }
    EXPECT_THROW(TextExtractor::readNow(tree.path(QStringLiteral("missing.png"))), FileError);
}

TEST_F(TextExtractorTest, PipesAreRefusedWithoutBeingOpened)
{
    for (const QString& name : {QStringLiteral("scan.pdf"), QStringLiteral("scan.png")}) {
        const QString pipe = tree.path(name);
        ASSERT_TRUE(makeNamedPipe(pipe));
        QString message;
        EXPECT_TRUE(returnsBesidePipe(pipe, [&] {
            try {
                TextExtractor::readNow(pipe);
            } catch (const FileError& error) {
                message = error.message();
            }
        })) << qPrintable(name);
        EXPECT_TRUE(message.contains(QStringLiteral("regular file"))) << qPrintable(message);
    }
}

TEST_F(TextExtractorTest, ReadingStopsWhenCancelled)
{
    const QString pages = tree.path(QStringLiteral("long.pdf"));
    makePdf(pages, {QStringLiteral("Page")}, {QStringLiteral("--pages"), QStringLiteral("50")});
    EXPECT_THROW(TextExtractor::readNow(pages, [] { return true; }), Cancelled);

    const QString picture = tree.path(QStringLiteral("scan.png"));
    savePicture(textPicture({QStringLiteral("Invoice 4711"), QStringLiteral("Paid in full"),
                             QStringLiteral("Thank you")}),
                picture);
    EXPECT_THROW(TextExtractor::readNow(picture, [] { return true; }), Cancelled);

    // Recognition reports how far it is, and stops in the middle when asked to.
    QStringList said;
    TextExtractor::readNow(picture, {}, [&](const QString& line) { said << line; });
    ASSERT_FALSE(said.isEmpty());
    EXPECT_TRUE(said.last().startsWith(QStringLiteral("Reading text… ")));
    EXPECT_TRUE(said.last().endsWith(u'%'));
    said.clear();
    EXPECT_THROW(
        TextExtractor::readNow(
            picture, [&] { return !said.isEmpty(); }, [&](const QString& line) { said << line; }),
        Cancelled);
    EXPECT_EQ(said.size(), 1);

    // A page that takes minutes to draw stops as soon as the read is cancelled.
    const QString bomb = tree.file(QStringLiteral("bomb.pdf"), drawingBombPdf(1'000'000));
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(TextExtractor::readNow(bomb, [&] { return clock.elapsed() > 300; }, {}),
                 Cancelled);
    EXPECT_LT(clock.elapsed(), 5000);

    // A cancelled future ends cancelled, never with a half-read text.
    QFuture<QString> future = TextExtractor::read(picture);
    future.cancel();
    ASSERT_TRUE(waitLong([&] { return future.isFinished(); }));
    EXPECT_TRUE(future.isCanceled());
}

TEST_F(TextExtractorTest, ReadsOffTheCallingThread)
{
    const QString picture = tree.path(QStringLiteral("scan.png"));
    savePicture(textPicture({QStringLiteral("Invoice 4711")}), picture);
    QThread* reader = nullptr;
    QFuture<QString> future = TextExtractor::read(picture).then([&](const QString& text) {
        reader = QThread::currentThread();
        return text;
    });
    ASSERT_TRUE(waitLong([&] { return future.isFinished(); }));
    EXPECT_EQ(future.result(), QStringLiteral("Invoice 4711"));
    EXPECT_NE(reader, QThread::currentThread());

    const TextResult result{future.result()};
    EXPECT_EQ(result.id(), QStringLiteral("Invoice 4711"));
}

} // namespace
