#include "file_error.h"
#include "library_candidates.h"
#include "library_filtering.h"
#include "text_matcher.h"

#include <gtest/gtest.h>

namespace {

FileEntry file(const QString& name, qint64 size = 1, bool isDirectory = false)
{
    return FileEntry::indexed(QStringLiteral("/n/") + name, size, QDateTime::currentDateTimeUtc(),
                              isDirectory);
}

QStringList namesOf(const QList<FileEntry>& files)
{
    QStringList names;
    for (const FileEntry& entry : files)
        names << entry.name;
    return names;
}

// Names that fold in every way the search knows, and some that do not decode.
QStringList awkwardNames()
{
    return {
        u"Holiday_2024.JPG"_qs,
        u"plain.txt"_qs,
        u"Stra\u00dfe.png"_qs, // ß
        u"STRASSE.png"_qs,
        u"\u1E9Eig.png"_qs,            // capital sharp s
        u"Caf\u00e9.jpg"_qs,           // composed é
        u"Cafe\u0301.jpg"_qs,          // e and a combining acute
        u"\u00c5ngstr\u00f6m.txt"_qs,  // Å
        u"\u212Bngstrom.txt"_qs,       // the ångström sign, canonically Å
        u"\u0130stanbul.txt"_qs,       // Turkish capital dotted I
        u"\u0131s\u0131k.txt"_qs,      // Turkish dotless i
        u"\u212Aelvin.txt"_qs,         // the kelvin sign, folding to k
        u"\uFB01le.txt"_qs,            // the fi ligature
        u"\u00b5m and \u03bcm.txt"_qs, // micro sign and Greek mu
        u"\u00ff\u0178.txt"_qs,        // ÿ and its capital outside Latin-1
        u"\u039f\u0394\u03a5\u03a3\u03a3\u0395\u03a5\u03a3.txt"_qs, // final sigma
        u"\U0001F600 smile.png"_qs,                                 // outside the BMP
        u"\U0001F44D\U0001F3FD.png"_qs,                             // emoji with a skin tone
        u"\u65e5\u672c\u8a9e.txt"_qs,
        u"\u1100\u1161\u11a8.txt"_qs, // Hangul jamo that compose
        u"bad\ufffdbyte.txt"_qs,      // how an undecodable byte arrives
        QString::fromUtf8("raw\xff\xfe.txt"),
        QStringLiteral("lone") + QChar(0xD800) + QStringLiteral("high.txt"),
        QStringLiteral("lone") + QChar(0xDC00) + QStringLiteral("low.txt"),
        QStringLiteral("nul") + QChar(0) + QStringLiteral("inside"),
        u"a\u0323\u0307.txt"_qs, // marks to be reordered
        u"\u1E69.txt"_qs,        // s with dot below and dot above
        u""_qs,
        u"."_qs,
    };
}

// Everything a user might type against them: every piece of every name up
// to three units long, and each name whole in other cases.
QStringList awkwardQueries(const QStringList& names)
{
    QStringList queries{u" "_qs,          u"SS"_qs,
                        u"\u00df"_qs,     u"i"_qs,
                        u"I"_qs,          u"\u0307"_qs,
                        u"\u0301"_qs,     u"e"_qs,
                        u"K"_qs,          u"FI"_qs,
                        u"\u03c3"_qs,     u"\u03c2"_qs,
                        u"\U0001F3FD"_qs, QString(QChar(0xD83D))};
    for (const QString& name : names) {
        for (qsizetype from = 0; from < name.size(); ++from)
            for (qsizetype length = 1; length <= 3 && from + length <= name.size(); ++length)
                queries << name.mid(from, length);
        queries << name << name.toUpper() << name.toLower();
    }
    queries.removeDuplicates();
    queries.removeAll(QString());
    return queries;
}

} // namespace

TEST(LibraryCandidates, SearchAgreesWithFullFoldingOverAwkwardNames)
{
    const QStringList names = awkwardNames();
    QList<FileEntry> files;
    for (const QString& name : names)
        files << file(name);
    const LibraryCandidates candidates({files, std::nullopt, false, {}, false, 0});
    ASSERT_EQ(candidates.size(), names.size());

    const QStringList queries = awkwardQueries(names);
    ASSERT_GT(queries.size(), 400);
    qsizetype matches = 0;
    for (const QString& query : queries) {
        const TextMatcher matcher(query);
        const QString needle = TextMatcher::folded(query);
        QStringList folded, matched;
        for (const QString& name : names) {
            if (TextMatcher::folded(name).contains(needle)) folded << name;
            if (matcher.foundIn(name)) matched << name;
        }
        EXPECT_EQ(namesOf(candidates.matching(query)), folded)
            << qPrintable(query.toUtf8().toHex());
        EXPECT_EQ(matched, folded) << qPrintable(query.toUtf8().toHex());
        matches += folded.size();
    }
    // The queries find something most of the time, so agreeing is not agreeing on nothing.
    EXPECT_GT(matches, queries.size());

    // A few that the folding must bring together.
    auto found = [&](const QString& query) { return namesOf(candidates.matching(query)); };
    EXPECT_TRUE(found(u"strasse"_qs).contains(u"Stra\u00dfe.png"_qs));
    EXPECT_TRUE(found(u"\u00e9"_qs).contains(u"Cafe\u0301.jpg"_qs));
    EXPECT_TRUE(found(u"\u00c5NGSTR"_qs).contains(u"\u212Bngstrom.txt"_qs));
    EXPECT_TRUE(found(u"kelvin"_qs).contains(u"\u212Aelvin.txt"_qs));
    EXPECT_TRUE(found(u"file"_qs).contains(u"\uFB01le.txt"_qs));
    EXPECT_EQ(found(u"smile"_qs), QStringList{u"\U0001F600 smile.png"_qs});
    EXPECT_FALSE(found(u"e"_qs).contains(u"Cafe\u0301.jpg"_qs)); // its e is part of an é
}

TEST(LibraryCandidates, AMatchNeverRunsFromOneNameIntoTheNext)
{
    const QList<FileEntry> files{file(u"ab"_qs), file(u"cd"_qs),
                                 file(QStringLiteral("x") + QChar(0) + QStringLiteral("y")),
                                 file(u"\u65e5"_qs), file(u"\u672c"_qs)};
    const LibraryCandidates candidates({files, std::nullopt, false, {}, false, 0});
    auto found = [&](const QString& query) { return namesOf(candidates.matching(query)); };
    EXPECT_TRUE(found(QStringLiteral("b") + QChar(0) + QStringLiteral("c")).isEmpty());
    EXPECT_TRUE(found(u"bc"_qs).isEmpty());
    EXPECT_EQ(found(QStringLiteral("x") + QChar(0)),
              QStringList{QStringLiteral("x") + QChar(0) + QStringLiteral("y")});
    EXPECT_TRUE(found(u"\u65e5\u672c"_qs).isEmpty());
    EXPECT_EQ(found(u"\u672c"_qs), QStringList{u"\u672c"_qs});
    EXPECT_EQ(found({}).size(), files.size());
}

TEST(LibraryCandidates, KeptOnlyForTheVerySameListAndTests)
{
    const QList<FileEntry> files{file(u"a.jpg"_qs), file(u"b.txt"_qs)};
    const LibraryCandidates::Scope scope{files, MediaKind::Image, false, {}, true, 0};
    LibraryCandidates::Scope same = scope;
    EXPECT_TRUE(scope.sameAs(same));

    // Equal contents in another list are not taken on trust.
    LibraryCandidates::Scope copied = scope;
    copied.files = QList<FileEntry>(files.begin(), files.end());
    EXPECT_EQ(copied.files, files);
    EXPECT_FALSE(scope.sameAs(copied));

    LibraryCandidates::Scope other = scope;
    other.kind = MediaKind::Video;
    EXPECT_FALSE(scope.sameAs(other));
    other = scope;
    other.filesOnly = false;
    EXPECT_FALSE(scope.sameAs(other));
    other = scope;
    other.minimumSize = 2;
    EXPECT_FALSE(scope.sameAs(other));
    // The marked screenshots count only where they narrow.
    other = scope;
    other.screenshots = {u"/n/a.jpg"_qs};
    EXPECT_TRUE(scope.sameAs(other));
    other.screenshotsOnly = true;
    LibraryCandidates::Scope marked = other;
    marked.screenshots.clear();
    EXPECT_FALSE(other.sameAs(marked));
}

TEST(LibraryCandidates, APassOverKeptCandidatesShowsWhatAFullPassShows)
{
    QList<FileEntry> files;
    const QStringList names = awkwardNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        files << file(names[i] + (i % 3 ? u".jpg"_qs : u".PNG"_qs), 1000 * i, i % 7 == 0)
              << file(u"Screenshot "_qs + QString::number(i) + u".png"_qs, 50 * i);
    MediaFilter byName;
    byName.sort = MediaFilter::Sort::Name;
    MediaFilter gifs;
    gifs.format = u"GIF"_qs;
    for (const bool screenshotsOnly : {false, true}) {
        const QSet<QString> marked{files[2].path};
        const LibraryCandidates candidates(
            {files, MediaKind::Image, screenshotsOnly, marked, true, 0});
        for (const QString& query : {u""_qs, u"s"_qs, u"SS"_qs, u"\u00e9"_qs, u".png"_qs})
            for (const MediaFilter& filter : {MediaFilter(), byName, gifs}) {
                const LibraryResult full = LibraryFiltering::evaluate(
                    files, MediaKind::Image, screenshotsOnly, marked, query, filter, {}, true);
                EXPECT_EQ(LibraryFiltering::evaluate(candidates, query, filter, {}), full)
                    << qPrintable(query);
            }
    }

    // The size bound of the largest files comes before everything else.
    const LibraryCandidates large({files, std::nullopt, false, {}, true, 10000});
    QList<FileEntry> big;
    for (const FileEntry& entry : files)
        if (entry.size >= 10000) big << entry;
    ASSERT_FALSE(big.isEmpty());
    EXPECT_EQ(LibraryFiltering::evaluate(large, u"i"_qs, {}, {}),
              LibraryFiltering::evaluate(big, std::nullopt, false, {}, u"i"_qs, {}, {}, true));
}

TEST(LibraryCandidates, CancelledWhileGatheringOrSearching)
{
    QList<FileEntry> files;
    for (int i = 0; i < 1000; ++i)
        files << file(QStringLiteral("f%1.txt").arg(i));
    int asked = 0;
    // The gathering asks at entries 0, 256, 512 and 768.
    EXPECT_THROW(
        LibraryCandidates({files, std::nullopt, false, {}, false, 0}, [&] { return ++asked == 3; }),
        Cancelled);
    EXPECT_EQ(asked, 3);

    const LibraryCandidates candidates({files, std::nullopt, false, {}, false, 0});
    asked = 0;
    // The search asks after every 256th match: 1000 names hold "f".
    EXPECT_THROW(candidates.matching(u"F"_qs, [&] { return ++asked == 2; }), Cancelled);
    EXPECT_EQ(asked, 2);
    asked = 0;
    EXPECT_EQ(candidates.matching(u"F"_qs, [&] { return ++asked > 3; }).size(), 1000);
    EXPECT_EQ(asked, 3);
}

TEST(LibraryCandidates, KeepsAboutOneBytePerCharacterOfLatinNames)
{
    QList<FileEntry> files;
    qsizetype characters = 0;
    for (int i = 0; i < 5000; ++i) {
        files << file(QStringLiteral("Holiday Caf\u00e9 %1.jpg").arg(i));
        characters += files.last().name.size();
    }
    const LibraryCandidates candidates({files, std::nullopt, false, {}, false, 0});
    // One byte per character and the end of each name, and two 32-bit indexes per name.
    EXPECT_LE(candidates.bytes(), characters + files.size() * (1 + 8) + 64);
    EXPECT_GE(candidates.bytes(), characters);
}
