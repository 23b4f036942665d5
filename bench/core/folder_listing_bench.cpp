// One big folder listed in parts: time to the first part and to the last,
// the stages in between, and the peak memory, against ls on the same folder.
//   folder_listing_bench FOLDER
#include "folder_listing.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

namespace {

long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Wall time of a shell pipeline over the folder, best of three.
double shellMs(const char* command, const QString& folder)
{
    double best = 1e12;
    for (int run = 0; run < 3; ++run) {
        QProcess shell;
        QElapsedTimer clock;
        clock.start();
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromLatin1(command),
                                                QStringLiteral("sh"), folder});
        shell.waitForFinished(-1);
        best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    return best;
}

void printPair(const char* what, double ours, const char* other, double theirs)
{
    std::printf("%-14s %9.1f ms   vs %-14s %8.1f ms   ratio %.2f\n", what, ours, other, theirs,
                theirs > 0 ? ours / theirs : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: folder_listing_bench FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const double lsHead = shellMs("ls -f \"$1\" | head > /dev/null", folder);
    const double lsAll = shellMs("ls -f \"$1\" > /dev/null", folder);
    const double lsSorted = shellMs("ls \"$1\" > /dev/null", folder);

    QElapsedTimer clock;
    double first = -1;
    qsizetype parts = 0, entries = 0;
    clock.start();
    FolderListing::list(folder, false, [&](QList<FileEntry> part) {
        if (first < 0) first = clock.nsecsElapsed() / 1e6;
        ++parts;
        entries += part.size();
    });
    const double full = clock.nsecsElapsed() / 1e6;
    std::printf("entries %lld in %lld parts\n", qlonglong(entries), qlonglong(parts));
    printPair("first part", first, "ls -f | head", lsHead);
    printPair("whole listing", full, "ls -f", lsAll);
    printPair("whole listing", full, "ls", lsSorted);
    std::printf("peak memory %ld KiB\n", peakKiB());
    return 0;
}
