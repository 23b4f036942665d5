#include "duplicate_finder.h"

#include "lazy_library.h"
#include "native_path.h"
#include "unique_fd.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <openssl/evp.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <vector>

namespace {

constexpr qsizetype kChunk = 1 << 20;
// Files read side by side go in steps small enough that the copy out of the
// page cache, the compare and the hash all find them in the core's own cache:
// with steps of 256 KiB the copy alone cost more than the hashing.
constexpr qsizetype kStep = 64 << 10;
// Files read side by side at most, to stay far from the limit of open files.
constexpr std::size_t kSideBySide = 64;
// The first and the last block of a file make its cheap fingerprint.
constexpr qint64 kEdge = 4096;

using Digest = std::array<unsigned char, 32>;

// What must stay the same from before a file is read until after: a file
// replaced by another of the same size and date still has a new inode, and one
// rewritten in place and given its old date back still has a new change time.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
    qint64 size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;
    qint64 ctimeSec = 0;
    qint64 ctimeNsec = 0;

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

// The listing saw the item as it is now.
bool listedAsIs(const FileEntry& listed, const FileEntry& now)
{
    return listed.isDirectory == now.isDirectory && listed.size == now.size &&
           listed.modified == now.modified;
}

constexpr unsigned kWanted =
    STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME;

Identity fromStatx(const struct statx& st)
{
    return {makedev(st.stx_dev_major, st.stx_dev_minor),
            st.stx_ino,
            st.stx_mode,
            qint64(st.stx_size),
            st.stx_mtime.tv_sec,
            st.stx_mtime.tv_nsec,
            st.stx_ctime.tv_sec,
            st.stx_ctime.tv_nsec};
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

// OpenSSL is loaded on the first hash, so that programs which never hash
// (the command line's copies and scans) start without it.
struct Crypto {
    decltype(&EVP_MD_CTX_new) newContext;
    decltype(&EVP_MD_CTX_free) freeContext;
    decltype(&EVP_DigestInit_ex) init;
    decltype(&EVP_MD_CTX_copy_ex) copy;
    decltype(&EVP_DigestUpdate) update;
    decltype(&EVP_DigestFinal_ex) finish;
    // Looked up once: a lookup by name on every start costs a locked search.
    const EVP_MD* sha256;
    QString error; // why there is no SHA-256; empty when there is
};

const Crypto& crypto()
{
    static const Crypto loaded = [] {
        LazyLibrary library("libcrypto.so.3");
        Crypto found{library.function<decltype(Crypto::newContext)>("EVP_MD_CTX_new"),
                     library.function<decltype(Crypto::freeContext)>("EVP_MD_CTX_free"),
                     library.function<decltype(Crypto::init)>("EVP_DigestInit_ex"),
                     library.function<decltype(Crypto::copy)>("EVP_MD_CTX_copy_ex"),
                     library.function<decltype(Crypto::update)>("EVP_DigestUpdate"),
                     library.function<decltype(Crypto::finish)>("EVP_DigestFinal_ex"),
                     nullptr,
                     {}};
        const auto fetch = library.function<decltype(&EVP_MD_fetch)>("EVP_MD_fetch");
        const auto plain = library.function<decltype(&EVP_sha256)>("EVP_sha256");
        if (fetch) found.sha256 = fetch(nullptr, "SHA256", nullptr);
        if (!found.sha256 && plain) found.sha256 = plain();
        found.error = library.error();
        if (found.error.isEmpty() && !found.sha256)
            found.error = QCoreApplication::translate("DuplicateFinder", "OpenSSL has no SHA-256.");
        return found;
    }();
    return loaded;
}

class Sha256 {
public:
    Sha256() : crypto_(crypto()), context_(crypto_.newContext()) {}
    ~Sha256() { crypto_.freeContext(context_); }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void start() { crypto_.init(context_, crypto_.sha256, nullptr); }
    void copyFrom(const Sha256& other) { crypto_.copy(context_, other.context_); }
    void add(const char* data, qsizetype size) { crypto_.update(context_, data, size_t(size)); }
    Digest finish()
    {
        Digest digest{};
        crypto_.finish(context_, digest.data(), nullptr);
        return digest;
    }

private:
    const Crypto& crypto_;
    EVP_MD_CTX* context_;
};

// A fast 64-bit hash (the xxHash64 round over four lanes). Equal contents
// always give equal values, so blocks whose values differ can't be equal.
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
    // The fingerprint of one block alone.
    quint64 of(const char* data, qsizetype size)
    {
        start();
        add(data, size);
        return finish();
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

// Step buffers given back for the next class: a fresh one of this size would
// be mapped, faulted in and zeroed anew each time.
class StepPool {
public:
    struct GiveBack {
        StepPool* pool;
        void operator()(char* buffer) const { pool->spare_.emplace_back(buffer); }
    };
    using Buffer = std::unique_ptr<char[], GiveBack>;

    Buffer take()
    {
        if (spare_.empty()) return Buffer(new char[kStep], GiveBack{this});
        Buffer buffer(spare_.back().release(), GiveBack{this});
        spare_.pop_back();
        return buffer;
    }

private:
    std::vector<std::unique_ptr<char[]>> spare_;
};

// What one worker keeps for all its files.
struct Worker {
    std::unique_ptr<char[]> buffer{new char[kChunk]};
    Sha256 hash;
    Fingerprint fingerprint;
    std::unique_ptr<char[]> scratch{new char[kStep]};
    StepPool steps;
};

// One file's contents, shared by all its hard links.
struct Inode {
    QByteArray path; // the first of its paths; the one that is opened
    Identity before;
    qsizetype paths = 0;
    bool failed = false;
    bool complete = false; // `digest` covers the whole file
    bool alone = false;    // no other file shares its contents, only its own hard links
    quint64 quick = 0;     // of the first and last block
    Digest digest{};
};

// A listed file that passed its first property check. Its identity then is
// its inode's: hard links share every property checked.
struct Candidate {
    qsizetype listed; // index into the input
    qsizetype inode;
    bool unchanged = false; // the second check found it as the first did
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

// Within each size, the files whose first and last blocks match: each list
// holds inodes that may have equal contents. An inode alone in its list is
// only the same file under its own names (hard links) and is never read.
std::vector<std::vector<qsizetype>> edgeClasses(const std::vector<std::vector<Candidate>>& groups,
                                                std::vector<Inode>& inodes)
{
    std::vector<std::vector<qsizetype>> result;
    for (const auto& group : groups) {
        QHash<quint64, qsizetype> classOf;
        const std::size_t first = result.size();
        for (const Candidate& candidate : group) {
            Inode& inode = inodes[candidate.inode];
            if (inode.failed || inode.complete || inode.alone) continue;
            const auto found = classOf.constFind(inode.quick);
            if (found == classOf.constEnd()) {
                classOf.insert(inode.quick, qsizetype(result.size()));
                result.push_back({candidate.inode});
            } else if (result[std::size_t(*found)].back() != candidate.inode &&
                       std::find(result[std::size_t(*found)].begin(),
                                 result[std::size_t(*found)].end(),
                                 candidate.inode) == result[std::size_t(*found)].end()) {
                result[std::size_t(*found)].push_back(candidate.inode);
            }
        }
        for (std::size_t c = first; c < result.size(); ++c)
            if (result[c].size() == 1) inodes[std::size_t(result[c].front())].alone = true;
    }
    std::erase_if(result, [](const auto& members) { return members.size() < 2; });
    // Big files first, so two workers end close together.
    std::stable_sort(result.begin(), result.end(), [&](const auto& a, const auto& b) {
        return inodes[std::size_t(a.front())].before.size * qint64(a.size()) >
               inodes[std::size_t(b.front())].before.size * qint64(b.size());
    });
    return result;
}

// Reads files of one size side by side, once each, step by step. Files that
// still match are kept in one class; the first file of a class is hashed with
// SHA-256 and every other one compared byte for byte with it, so they all
// have that digest without hashing each. A file that differs in a step
// leaves its class for a new one, which takes over the hash state of the
// steps before (they were equal) and meets the other files that split off
// there. A class left with one file can match nothing any more and is
// dropped unread. The whole of each file is thus proven, and read only once.
// More files than are read side by side are first parted by their first
// step, read one by one.
class SideBySide {
public:
    SideBySide(std::vector<Inode>& inodes, Worker& worker, const CancelCheck& isCancelled)
        : inodes_(inodes), worker_(worker), isCancelled_(isCancelled)
    {
    }

    void prove(const std::vector<qsizetype>& members)
    {
        if (members.size() <= kSideBySide) {
            proveBatch(members);
            return;
        }
        for (const auto& part : byFirstStep(members)) {
            if (part.size() < 2) continue;
            // Files of one batch can't meet those of another but by digest,
            // so one alone in its batch is hashed to the end too.
            keepAlone_ = part.size() > kSideBySide;
            for (std::size_t at = 0; at < part.size(); at += kSideBySide) {
                const std::size_t end = std::min(part.size(), at + kSideBySide);
                proveBatch({part.begin() + qsizetype(at), part.begin() + qsizetype(end)});
            }
        }
    }

private:
    struct Member {
        qsizetype inode;
        UniqueFd fd;
    };
    struct Class {
        explicit Class(StepPool& pool) : step(pool.take()) {}
        std::vector<Member> members; // the first is the one hashed
        std::unique_ptr<Sha256> hash = std::make_unique<Sha256>();
        StepPool::Buffer step;
        std::size_t parent = 0; // the class it split from in this step
        quint64 key = 0;        // of this step, when it split off
    };

    void fail(Member& member)
    {
        inodes_[std::size_t(member.inode)].failed = true;
        member.fd.reset();
    }

    bool read(Member& member, char* into, qint64 length, qint64 offset)
    {
        if (readFully(member.fd.get(), into, length, off_t(offset)) == length) return true;
        fail(member);
        return false;
    }

    // The files in parts of equal fingerprints of their first step.
    std::vector<std::vector<qsizetype>> byFirstStep(const std::vector<qsizetype>& members)
    {
        std::vector<std::vector<qsizetype>> parts;
        QHash<quint64, std::size_t> partOf;
        const qint64 length =
            std::min<qint64>(kStep, inodes_[std::size_t(members.front())].before.size);
        char* scratch = worker_.scratch.get();
        for (qsizetype index : members) {
            throwIfCancelled(isCancelled_);
            Inode& inode = inodes_[std::size_t(index)];
            const UniqueFd fd = openSame(inode);
            if (!fd.valid() || readFully(fd.get(), scratch, length, 0) != length) {
                inode.failed = true;
                continue;
            }
            const quint64 key = worker_.fingerprint.of(scratch, length);
            auto part = partOf.constFind(key);
            if (part == partOf.constEnd()) {
                part = partOf.insert(key, parts.size());
                parts.emplace_back();
            }
            parts[*part].push_back(index);
        }
        return parts;
    }

    void proveBatch(std::vector<qsizetype> batch)
    {
        const qint64 size = inodes_[std::size_t(batch.front())].before.size;
        std::vector<Class> classes;
        classes.emplace_back(worker_.steps);
        for (qsizetype index : batch) {
            UniqueFd fd = openSame(inodes_[std::size_t(index)]);
            if (!fd.valid()) {
                inodes_[std::size_t(index)].failed = true;
                continue;
            }
            ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
            classes.front().members.push_back({index, std::move(fd)});
        }
        classes.front().hash->start();
        for (qint64 offset = 0; offset < size; offset += kStep) {
            throwIfCancelled(isCancelled_);
            const qint64 length = std::min<qint64>(kStep, size - offset);
            const std::size_t before = classes.size();
            for (std::size_t c = 0; c < before; ++c)
                compareStep(classes, c, length, offset);
            // A class of one can't meet another file of this batch any more.
            const std::size_t least = keepAlone_ ? 1 : 2;
            std::erase_if(classes, [&](const Class& c) { return c.members.size() < least; });
            for (Class& c : classes)
                c.hash->add(c.step.get(), length);
            if (classes.empty()) break;
        }
        for (Class& c : classes) {
            const Digest digest = c.hash->finish();
            for (const Member& member : c.members) {
                Inode& inode = inodes_[std::size_t(member.inode)];
                inode.digest = digest;
                inode.complete = true;
            }
        }
    }

    void compareStep(std::vector<Class>& classes, std::size_t c, qint64 length, qint64 offset)
    {
        // The first file that can still be read leads; the steps before were equal.
        auto& members = classes[c].members;
        while (!members.empty() && !read(members.front(), classes[c].step.get(), length, offset))
            members.erase(members.begin());
        // Files that differ from the leader here, with a fingerprint of their step.
        std::vector<std::pair<Member, quint64>> parted;
        char* scratch = worker_.scratch.get();
        for (std::size_t m = 1; m < members.size();) {
            if (!read(members[m], scratch, length, offset)) {
                members.erase(members.begin() + qsizetype(m));
            } else if (std::memcmp(scratch, classes[c].step.get(), std::size_t(length)) == 0) {
                ++m;
            } else {
                parted.emplace_back(std::move(members[m]), worker_.fingerprint.of(scratch, length));
                members.erase(members.begin() + qsizetype(m));
            }
        }
        // One whose fingerprint no other shares can match nothing in this batch
        // any more; the others are read again to be sorted out.
        QHash<quint64, int> sharing;
        for (const auto& [member, key] : parted)
            ++sharing[key];
        const std::size_t splitFrom = classes.size();
        for (auto& [member, key] : parted)
            if ((keepAlone_ || sharing.value(key) > 1) && read(member, scratch, length, offset))
                joinOrSplit(classes, c, splitFrom, std::move(member), key, length);
    }

    void joinOrSplit(std::vector<Class>& classes, std::size_t c, std::size_t splitFrom,
                     Member member, quint64 key, qint64 length)
    {
        const char* scratch = worker_.scratch.get();
        for (std::size_t other = splitFrom; other < classes.size(); ++other) {
            Class& split = classes[other];
            if (split.parent == c && split.key == key &&
                std::memcmp(split.step.get(), scratch, std::size_t(length)) == 0) {
                split.members.push_back(std::move(member));
                return;
            }
        }
        Class split(worker_.steps);
        split.parent = c;
        split.key = key;
        split.hash->copyFrom(*classes[c].hash);
        std::memcpy(split.step.get(), scratch, std::size_t(length));
        split.members.push_back(std::move(member));
        classes.push_back(std::move(split));
    }

    std::vector<Inode>& inodes_;
    Worker& worker_;
    const CancelCheck& isCancelled_;
    bool keepAlone_ = false;
};

QByteArray bytesOf(const Digest& digest)
{
    return QByteArray(reinterpret_cast<const char*>(digest.data()), qsizetype(digest.size()));
}

} // namespace

DuplicateReport DuplicateFinder::report(const QList<FileEntry>& files,
                                        const CancelCheck& isCancelled) const
{
    // Without SHA-256 no group can be proven.
    if (const QString& missing = crypto().error; !missing.isEmpty())
        throw std::runtime_error(missing.toStdString());
    DuplicateReport report;
    std::vector<Worker> workers(static_cast<std::size_t>(workers_));
    auto afterRead = [&](const Inode& inode) {
        if (readHook_) readHook_(decodePath(inode.path));
    };

    // Largest sizes first: the groups come out in the order they are reported.
    // Within a size, input order. A sorted list of indexes costs far less per
    // file than a map of lists.
    std::vector<qsizetype> shareSize;
    for (qsizetype i = 0; i < files.size(); ++i)
        if (!files[i].isDirectory && files[i].size >= 1) shareSize.push_back(i);
    std::stable_sort(shareSize.begin(), shareSize.end(),
                     [&](qsizetype a, qsizetype b) { return files[a].size > files[b].size; });
    // Runs of one size, [start, end) in `shareSize`; a file alone in its size
    // leaves the list.
    std::vector<std::pair<std::size_t, std::size_t>> sameSize;
    std::size_t kept = 0;
    for (std::size_t at = 0; at < shareSize.size();) {
        std::size_t end = at + 1;
        while (end < shareSize.size() && files[shareSize[end]].size == files[shareSize[at]].size)
            ++end;
        if (end - at >= 2) {
            sameSize.push_back({kept, kept + (end - at)});
            for (std::size_t k = at; k < end; ++k)
                shareSize[kept++] = shareSize[k];
        }
        at = end;
    }
    shareSize.resize(kept);
    shareSize.shrink_to_fit();

    // First check: what is there now, in the order of `shareSize`. Native
    // paths are made again where needed rather than kept for every file.
    std::vector<std::optional<Identity>> befores(shareSize.size());
    runParallel(qsizetype(shareSize.size()), workers, [&](qsizetype i, Worker&) {
        throwIfCancelled(isCancelled);
        befores[std::size_t(i)] = identityOf(nativePath(files[shareSize[i]].path));
    });

    // Which paths share an inode; it is read once for all of them.
    std::vector<Inode> inodes;
    inodes.reserve(shareSize.size());
    std::vector<std::vector<Candidate>> groups;
    for (const auto& [start, end] : sameSize) {
        const qint64 size = files[shareSize[start]].size;
        std::vector<Candidate> group;
        QHash<QPair<quint64, quint64>, qsizetype> seen;
        QSet<QString> listedPaths;
        for (std::size_t at = start; at < end; ++at) {
            const qsizetype index = shareSize[at];
            const auto& before = befores[at];
            // A path listed twice is one file, not a duplicate of itself.
            if (listedPaths.contains(files[index].path)) continue;
            listedPaths.insert(files[index].path);
            if (!before) {
                ++report.skipped;
                continue;
            }
            if (!before->isRegular()) {
                // Links, pipes and devices are never read. One the listing saw
                // as it is now is no candidate; one that took a file's place
                // since is a file that changed.
                if (!listedAsIs(files[index], before->entry(files[index]))) ++report.skipped;
                continue;
            }
            if (before->size != size) {
                ++report.skipped;
                continue;
            }
            const auto key = qMakePair(quint64(before->device), quint64(before->inode));
            auto found = seen.constFind(key);
            if (found == seen.constEnd()) {
                found = seen.insert(key, qsizetype(inodes.size()));
                QByteArray path = nativePath(files[index].path);
                path.squeeze();
                inodes.push_back({std::move(path), *before});
            }
            ++inodes[*found].paths;
            group.push_back({index, *found});
        }
        if (group.size() >= 2) groups.push_back(std::move(group));
    }
    std::vector<std::optional<Identity>>().swap(befores);

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
        if (size <= 2 * kEdge) {
            worker.hash.start();
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
            inode.quick = worker.fingerprint.of(worker.buffer.get(), 2 * kEdge);
        }
        afterRead(inode);
    });

    // Files whose edges match are read side by side to the end.
    const auto classes = edgeClasses(groups, inodes);
    runParallel(qsizetype(classes.size()), workers, [&](qsizetype i, Worker& worker) {
        throwIfCancelled(isCancelled);
        SideBySide(inodes, worker, isCancelled).prove(classes[std::size_t(i)]);
        for (qsizetype inode : classes[std::size_t(i)])
            afterRead(inodes[std::size_t(inode)]);
    });

    // Second check: anything changed since the first is left out.
    std::vector<Candidate*> checked;
    for (auto& group : groups)
        for (Candidate& candidate : group)
            checked.push_back(&candidate);
    runParallel(qsizetype(checked.size()), workers, [&](qsizetype i, Worker&) {
        Candidate& candidate = *checked[i];
        const auto after = identityOf(nativePath(files[candidate.listed].path));
        candidate.unchanged = after && *after == inodes[candidate.inode].before;
    });

    // Groups in input order within each size.
    for (const auto& group : groups) {
        std::vector<QList<FileEntry>> byDigest;
        QHash<QByteArray, qsizetype> slotOf;
        QHash<qsizetype, QString> firstPathOf; // per inode
        QHash<QString, QString> sameFileAs;
        for (const Candidate& candidate : group) {
            const Inode& inode = inodes[candidate.inode];
            const FileEntry& listed = files[candidate.listed];
            if (inode.failed || !candidate.unchanged) {
                ++report.skipped;
                continue;
            }
            // Its contents matched no other file's.
            if (!inode.complete && !inode.alone) continue;
            const auto first = firstPathOf.constFind(candidate.inode);
            if (first == firstPathOf.constEnd())
                firstPathOf.insert(candidate.inode, listed.path);
            else
                sameFileAs.insert(listed.path, *first);
            // Hard links alone are one file: its own names make the group.
            const QByteArray key =
                inode.alone ? QByteArray::number(candidate.inode) : bytesOf(inode.digest);
            const auto slot = slotOf.constFind(key);
            if (slot == slotOf.constEnd()) {
                slotOf.insert(key, qsizetype(byDigest.size()));
                byDigest.push_back({inode.before.entry(listed)});
            } else {
                byDigest[*slot].append(inode.before.entry(listed));
            }
        }
        for (auto& entries : byDigest) {
            if (entries.size() < 2) continue;
            for (const FileEntry& file : entries)
                if (const auto as = sameFileAs.constFind(file.path); as != sameFileAs.constEnd())
                    report.sameFileAs.insert(file.path, *as);
            report.groups.append(std::move(entries));
        }
    }
    return report;
}
