// render_start_latency [--heap MB] [--rounds N]: what starting one isolated
// rendering costs the calling thread in a process with a large heap (the
// window holds about 170 MB): fork() of the whole process, posix_spawn of a
// fresh renderer, and asking the running renderer server for one; and what
// the first rewrite of the heap costs afterwards (copy-on-write faults a fork
// leaves behind). Also the whole round trip of a PDF thumbnail through the
// renderer, against drawing it in this process.
#include "media/isolated_render.h"
#include "media/pdf_page_image.h"
#include "media/render_host.h"
#include "native_path.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Figures {
    std::vector<double> ms;
    void add(qint64 ns) { ms.push_back(double(ns) / 1e6); }
    void print(const char* what)
    {
        std::sort(ms.begin(), ms.end());
        std::printf("%-44s median %8.3f ms   p90 %8.3f ms   max %8.3f ms\n", what,
                    ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back());
    }
};

void reap(pid_t child)
{
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// Writes one byte into every page, as a busy program does over time.
void touch(std::vector<std::unique_ptr<char[]>>& heap, size_t block)
{
    for (auto& chunk : heap)
        for (size_t at = 0; at < block; at += 4096)
            ++chunk[at];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int heapMb = 170, rounds = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--heap") == 0) heapMb = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[i + 1]);
    }
    const QString renderer = rendererProgram();
    if (renderer.isEmpty()) {
        std::fprintf(stderr, "no renderer\n");
        return 1;
    }

    // The heap in 1 MB blocks, every page present, and a few idle threads as a Qt program has.
    constexpr size_t block = size_t(1) << 20;
    std::vector<std::unique_ptr<char[]>> heap;
    for (int i = 0; i < heapMb; ++i) {
        heap.emplace_back(new char[block]);
        std::memset(heap.back().get(), i, block);
    }
    std::atomic_bool done = false;
    std::vector<std::thread> idle;
    for (int i = 0; i < 4; ++i)
        idle.emplace_back([&] {
            while (!done)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        });

    QElapsedTimer clock;
    Figures forkStart, forkTouch, spawnStart, spawnTouch, plainTouch, hostStart, hostTouch;
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.fillRect(QRect(100, 100, 2000, 3000), Qt::darkCyan);
    }
    // The server is started once, before the counted rounds.
    renderIsolated(RenderRequest::pdfFirstPage(pdf, 16), {}, {});
    QByteArray program = nativePath(renderer);
    char* args[] = {program.data(), nullptr}; // no socket: the renderer exits at once
    for (int round = 0; round < rounds; ++round) {
        clock.start();
        touch(heap, block);
        plainTouch.add(clock.nsecsElapsed());

        clock.start();
        const pid_t forked = ::fork();
        if (forked == 0) ::_exit(0);
        forkStart.add(clock.nsecsElapsed());
        reap(forked);
        clock.start();
        touch(heap, block);
        forkTouch.add(clock.nsecsElapsed());

        clock.start();
        pid_t spawned = -1;
        posix_spawn(&spawned, args[0], nullptr, nullptr, args, environ);
        spawnStart.add(clock.nsecsElapsed());
        reap(spawned);
        clock.start();
        touch(heap, block);
        spawnTouch.add(clock.nsecsElapsed());

        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return 1;
        clock.start();
        const std::optional<pid_t> renderer = RenderHost::instance().start(
            {qint64(64) << 20, RenderRequest::pdfFirstPage(pdf, 16)}, ends[1]);
        hostStart.add(clock.nsecsElapsed());
        ::close(ends[1]);
        char sink[4096];
        while (::read(ends[0], sink, sizeof sink) > 0) {
        }
        ::close(ends[0]);
        if (!renderer) return 1;
        clock.start();
        touch(heap, block);
        hostTouch.add(clock.nsecsElapsed());
    }
    std::printf("heap %d MB, %d rounds\n", heapMb, rounds);
    forkStart.print("fork() returns in the caller");
    spawnStart.print("posix_spawn() returns in the caller");
    hostStart.print("the renderer server has forked a renderer");
    plainTouch.print("rewrite of the heap, nothing started");
    forkTouch.print("rewrite of the heap after a fork");
    spawnTouch.print("rewrite of the heap after a spawn");
    hostTouch.print("rewrite of the heap after a server's renderer");

    Figures isolated, inProcess;
    for (int round = 0; round < rounds; ++round) {
        clock.start();
        const QImage spawned = renderIsolated(RenderRequest::pdfFirstPage(pdf, 256), {}, {});
        isolated.add(clock.nsecsElapsed());
        clock.start();
        const QImage drawn = renderPdfFirstPage(pdf, 256);
        inProcess.add(clock.nsecsElapsed());
        if (spawned.isNull() || spawned.size() != drawn.size()) {
            std::fprintf(stderr, "the renderer drew nothing\n");
            return 1;
        }
    }
    isolated.print("PDF thumbnail through the renderer");
    inProcess.print("PDF thumbnail drawn in this process");
    done = true;
    for (std::thread& thread : idle)
        thread.join();
    return 0;
}
