#include "duplicate_finder.h"

#include "native_path.h"
#include "unique_fd.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <vector>

namespace {

constexpr qsizetype kChunk = 1 << 20;
// The first and the last block of a file make its cheap fingerprint.
constexpr qint64 kEdge = 4096;

using Digest = std::array<unsigned char, 32>;

// What must stay the same from before a file is read until after: a file
// replaced by another of the same size and date still has a new inode.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
    qint64 size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;

    bool isRegular() const { return S_ISREG(mode); }
    bool operator==(const Identity&) const = default;

    FileEntry entry(const FileEntry& listed) const
    {
        struct stat st {};
        st.st_mode = mode;
        st.st_size = size;
        st.st_mtim.tv_sec = mtimeSec;
        st.st_mtim.tv_nsec = mtimeNsec;
        return FileEntry::fromStat(listed.path, listed.name, st);
    }
};

constexpr unsigned kWanted = STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MTIME;

Identity fromStatx(const struct statx& st)
{
    return {makedev(st.stx_dev_major, st.stx_dev_minor),
            st.stx_ino,
            st.stx_mode,
            qint64(st.stx_size),
            st.stx_mtime.tv_sec,
            st.stx_mtime.tv_nsec};
}

// The item at `path` itself; a symbolic link is not followed.
std::optional<Identity> identityOf(const QByteArray& path)
{
    struct statx st;
    if (::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, kWanted, &st) != 0)
        return std::nullopt;
    return fromStatx(st);
}

std::optional<Identity> identityOf(int fd)
{
    struct statx st;
    if (::statx(fd, "", AT_EMPTY_PATH, kWanted, &st) != 0) return std::nullopt;
    return fromStatx(st);
}

class Sha256 {
public:
    Sha256() : context_(EVP_MD_CTX_new()) {}
    ~Sha256() { EVP_MD_CTX_free(context_); }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void start() { EVP_DigestInit_ex(context_, EVP_sha256(), nullptr); }
    void add(const char* data, qsizetype size) { EVP_DigestUpdate(context_, data, size_t(size)); }
    Digest finish()
    {
        Digest digest{};
        EVP_DigestFinal_ex(context_, digest.data(), nullptr);
        return digest;
    }

private:
    EVP_MD_CTX* context_;
};

// A fast 64-bit hash of a whole file (the xxHash64 round over four lanes).
// Equal contents always give equal values, so files whose values differ
// can't be duplicates and are spared the far dearer SHA-256.
class Fingerprint {
public:
    void start()
    {
        lanes_ = {kP1 + kP2, kP2, 0, 0 - kP1};
        carried_ = 0;
        total_ = 0;
    }
    void add(const char* data, qsizetype size)
    {
        total_ += quint64(size);
        if (carried_ > 0) {
            const qsizetype take = std::min<qsizetype>(size, 32 - carried_);
            std::memcpy(carry_ + carried_, data, size_t(take));
            carried_ += take;
            data += take;
            size -= take;
            if (carried_ < 32) return;
            stripe(carry_);
            carried_ = 0;
        }
        for (; size >= 32; data += 32, size -= 32)
            stripe(data);
        std::memcpy(carry_, data, size_t(size));
        carried_ = size;
    }
    quint64 finish() const
    {
        quint64 h = total_;
        for (quint64 lane : lanes_)
            h = (h ^ round(0, lane)) * kP1 + kP4;
        for (qsizetype i = 0; i < carried_; ++i)
            h = rotl((h ^ (quint8(carry_[i]) * kP5)), 11) * kP1;
        return h ^ (h >> 29);
    }

private:
    static constexpr quint64 kP1 = 11400714785074694791ULL, kP2 = 14029467366897019727ULL,
                             kP4 = 9650029242287828579ULL, kP5 = 2870177450012600261ULL;
    static quint64 rotl(quint64 x, int r) { return (x << r) | (x >> (64 - r)); }
    static quint64 round(quint64 lane, quint64 word) { return rotl(lane + word * kP2, 31) * kP1; }
    void stripe(const char* data)
    {
        for (int i = 0; i < 4; ++i) {
            quint64 word;
            std::memcpy(&word, data + 8 * i, 8);
            lanes_[i] = round(lanes_[i], word);
        }
    }

    std::array<quint64, 4> lanes_{};
    char carry_[32];
    qsizetype carried_ = 0;
    quint64 total_ = 0;
};

// What one worker keeps for all its files.
struct Worker {
    std::unique_ptr<char[]> buffer{new char[kChunk]};
    Sha256 hash;
    Fingerprint fingerprint;
};

// One file's contents, shared by all its hard links.
struct Inode {
    QByteArray path; // the first of its paths; the one that is opened
    Identity before;
    qsizetype paths = 0;
    bool failed = false;
    bool complete = false; // `digest` covers the whole file
    Digest quick{};        // of the first and last block
    quint64 fingerprint = 0;
    Digest digest{};
};

// A listed file that passed its first property check.
struct Candidate {
    qsizetype listed; // index into the input
    Identity before;
    qsizetype inode;
};

qint64 readFully(int fd, char* buffer, qint64 size, off_t offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size_t(size - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? -1 : done;
        done += n;
    }
    return done;
}

// Opens the very file the first check saw; a pipe or device put in its place
// can't block the open and fails the comparison.
UniqueFd openSame(const Inode& inode)
{
    UniqueFd fd(::open(inode.path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return fd;
    const auto now = identityOf(fd.get());
    if (!now || !(*now == inode.before)) return UniqueFd();
    return fd;
}

// Streams the whole of a file through `consume` in 1 MiB chunks; false when
// it can't be opened as the same file or a read fails.
template <typename Consume>
bool readWhole(const Inode& inode, Worker& worker, const CancelCheck& isCancelled,
               const Consume& consume)
{
    const UniqueFd fd = openSame(inode);
    if (!fd.valid()) return false;
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    for (;;) {
        const ssize_t n = ::read(fd.get(), worker.buffer.get(), kChunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        throwIfCancelled(isCancelled);
        consume(worker.buffer.get(), qsizetype(n));
    }
}

// Runs `job(index, worker)` for every index on `workers` threads (this one
// included); the first exception stops the others and is rethrown here.
template <typename Job>
void runParallel(qsizetype count, std::vector<Worker>& workers, const Job& job)
{
    std::atomic<qsizetype> next{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto loop = [&](Worker& worker) {
        try {
            for (qsizetype i; !stop.load() && (i = next.fetch_add(1)) < count;)
                job(i, worker);
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
            stop = true;
        }
    };
    std::vector<std::thread> helpers;
    const qsizetype extra = std::min<qsizetype>(qsizetype(workers.size()) - 1, count - 1);
    for (qsizetype w = 1; w <= extra; ++w)
        helpers.emplace_back(loop, std::ref(workers[w]));
    loop(workers[0]);
    for (auto& helper : helpers)
        helper.join();
    if (failure) std::rethrow_exception(failure);
}

} // namespace

DuplicateFinder::DuplicateFinder(int workers) : workers_(std::max(1, workers)) {}

namespace {

// Among the paths of one size, the inodes whose `key` another path shares.
template <typename Key>
std::vector<qsizetype> shared(const std::vector<std::vector<Candidate>>& groups,
                              const std::vector<Inode>& inodes, const Key& key)
{
    std::vector<qsizetype> result;
    std::vector<bool> taken(inodes.size());
    for (const auto& group : groups) {
        QHash<decltype(key(inodes.front())), qsizetype> paths;
        for (const Candidate& candidate : group)
            if (const Inode& inode = inodes[candidate.inode]; !inode.failed && !inode.complete)
                ++paths[key(inode)];
        for (const Candidate& candidate : group) {
            const Inode& inode = inodes[candidate.inode];
            if (inode.failed || inode.complete || paths.value(key(inode)) < 2) continue;
            if (taken[candidate.inode]) continue;
            taken[candidate.inode] = true;
            result.push_back(candidate.inode);
        }
    }
    // Big files first, so two workers end close together.
    std::stable_sort(result.begin(), result.end(), [&](qsizetype a, qsizetype b) {
        return inodes[a].before.size > inodes[b].before.size;
    });
    return result;
}

QByteArray bytesOf(const Digest& digest)
{
    return QByteArray(reinterpret_cast<const char*>(digest.data()), qsizetype(digest.size()));
}

} // namespace

DuplicateReport DuplicateFinder::report(const QList<FileEntry>& files,
                                        const CancelCheck& isCancelled) const
{
    DuplicateReport report;
    std::vector<Worker> workers(static_cast<std::size_t>(workers_));
    auto afterRead = [&](const Inode& inode) {
        if (readHook_) readHook_(decodePath(inode.path));
    };

    // Largest sizes first: the groups come out in the order they are reported.
    std::map<qint64, std::vector<qsizetype>, std::greater<>> bySize;
    for (qsizetype i = 0; i < files.size(); ++i)
        if (!files[i].isDirectory && files[i].size >= 1) bySize[files[i].size].push_back(i);
    std::vector<qsizetype> shareSize;
    for (const auto& [size, members] : bySize)
        if (members.size() >= 2) shareSize.insert(shareSize.end(), members.begin(), members.end());

    // First check: what is there now.
    std::vector<QByteArray> paths(files.size());
    std::vector<std::optional<Identity>> befores(files.size());
    runParallel(qsizetype(shareSize.size()), workers, [&](qsizetype i, Worker&) {
        throwIfCancelled(isCancelled);
        const qsizetype index = shareSize[i];
        paths[index] = nativePath(files[index].path);
        befores[index] = identityOf(paths[index]);
    });

    // Which paths share an inode; it is read once for all of them.
    std::vector<Inode> inodes;
    std::vector<std::vector<Candidate>> groups;
    for (const auto& [size, members] : bySize) {
        if (members.size() < 2) continue;
        std::vector<Candidate> group;
        QHash<QPair<quint64, quint64>, qsizetype> seen;
        QSet<QString> listedPaths;
        for (qsizetype index : members) {
            // A path listed twice is one file, not a duplicate of itself.
            if (listedPaths.contains(files[index].path)) continue;
            listedPaths.insert(files[index].path);
            const auto& before = befores[index];
            if (!before) {
                ++report.skipped;
                continue;
            }
            if (!before->isRegular()) continue; // links, pipes and devices are never read
            if (before->size != size) {
                ++report.skipped;
                continue;
            }
            const auto key = qMakePair(quint64(before->device), quint64(before->inode));
            auto found = seen.constFind(key);
            if (found == seen.constEnd()) {
                found = seen.insert(key, qsizetype(inodes.size()));
                inodes.push_back({paths[index], *before});
            }
            ++inodes[*found].paths;
            group.push_back({index, *before, *found});
        }
        if (group.size() >= 2) groups.push_back(std::move(group));
    }

    std::vector<qsizetype> toRead;
    std::vector<bool> queued(inodes.size());
    for (const auto& group : groups)
        for (const Candidate& candidate : group)
            if (!queued[candidate.inode]) {
                queued[candidate.inode] = true;
                toRead.push_back(candidate.inode);
            }

    // Small files are hashed whole, larger ones by their first and last block.
    runParallel(qsizetype(toRead.size()), workers, [&](qsizetype i, Worker& worker) {
        throwIfCancelled(isCancelled);
        Inode& inode = inodes[toRead[i]];
        const UniqueFd fd = openSame(inode);
        if (!fd.valid()) {
            inode.failed = true;
            return;
        }
        const qint64 size = inode.before.size;
        worker.hash.start();
        if (size <= 2 * kEdge) {
            const qint64 n = readFully(fd.get(), worker.buffer.get(), size, 0);
            inode.failed = n != size;
            inode.complete = true;
            worker.hash.add(worker.buffer.get(), n > 0 ? n : 0);
            inode.digest = worker.hash.finish();
        } else {
            const qint64 head = readFully(fd.get(), worker.buffer.get(), kEdge, 0);
            const qint64 tail =
                readFully(fd.get(), worker.buffer.get() + kEdge, kEdge, off_t(size - kEdge));
            inode.failed = head != kEdge || tail != kEdge;
            worker.hash.add(worker.buffer.get(), 2 * kEdge);
            inode.quick = worker.hash.finish();
        }
        afterRead(inode);
    });

    // Matching edges: a fast hash of the whole file sorts out most of the rest.
    const auto edgesShared =
        shared(groups, inodes, [](const Inode& inode) { return bytesOf(inode.quick); });
    runParallel(qsizetype(edgesShared.size()), workers, [&](qsizetype i, Worker& worker) {
        throwIfCancelled(isCancelled);
        Inode& inode = inodes[edgesShared[i]];
        worker.fingerprint.start();
        inode.failed = !readWhole(inode, worker, isCancelled, [&](const char* data, qsizetype n) {
            worker.fingerprint.add(data, n);
        });
        inode.fingerprint = worker.fingerprint.finish();
        afterRead(inode);
    });

    // Only what still matches is proven by SHA-256.
    const auto toProve = shared(groups, inodes, [](const Inode& inode) {
        return qMakePair(bytesOf(inode.quick), inode.fingerprint);
    });
    runParallel(qsizetype(toProve.size()), workers, [&](qsizetype i, Worker& worker) {
        throwIfCancelled(isCancelled);
        Inode& inode = inodes[toProve[i]];
        worker.hash.start();
        inode.failed = !readWhole(inode, worker, isCancelled,
                                  [&](const char* data, qsizetype n) { worker.hash.add(data, n); });
        inode.digest = worker.hash.finish();
        inode.complete = true;
        afterRead(inode);
    });

    // Second check: anything changed since the first is left out.
    std::vector<std::optional<Identity>> afters(files.size());
    std::vector<const Candidate*> checked;
    for (const auto& group : groups)
        for (const Candidate& candidate : group)
            checked.push_back(&candidate);
    runParallel(qsizetype(checked.size()), workers, [&](qsizetype i, Worker&) {
        const qsizetype index = checked[i]->listed;
        afters[index] = identityOf(paths[index]);
    });

    // Groups in input order within each size.
    for (const auto& group : groups) {
        std::vector<QList<FileEntry>> byDigest;
        QHash<QByteArray, qsizetype> slotOf;
        for (const Candidate& candidate : group) {
            const Inode& inode = inodes[candidate.inode];
            const FileEntry& listed = files[candidate.listed];
            const auto& after = afters[candidate.listed];
            if (inode.failed || !after || !(*after == candidate.before)) {
                ++report.skipped;
                continue;
            }
            if (!inode.complete) continue; // its contents matched no other file's
            const QByteArray key = bytesOf(inode.digest);
            const auto slot = slotOf.constFind(key);
            if (slot == slotOf.constEnd()) {
                slotOf.insert(key, qsizetype(byDigest.size()));
                byDigest.push_back({after->entry(listed)});
            } else {
                byDigest[*slot].append(after->entry(listed));
            }
        }
        for (auto& entries : byDigest)
            if (entries.size() >= 2) report.groups.append(std::move(entries));
    }
    return report;
}
