#include "media/render_channel.h"

#include <QList>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace RenderChannel {
namespace {

constexpr char renderTag = 'R';
constexpr char stopTag = 'S';
constexpr char startedTag = 'P';
// A path is at most 4096 bytes; the rest of a request is a few numbers.
constexpr size_t maxMessage = 16384;

bool send(int socket, const QByteArray& bytes, int fd)
{
    iovec part{const_cast<char*>(bytes.constData()), size_t(bytes.size())};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    if (fd >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(header), &fd, sizeof fd);
    }
    for (;;) {
        const ssize_t sent = ::sendmsg(socket, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        return sent == bytes.size();
    }
}

QByteArray tagged(char tag, pid_t pid)
{
    return tag + QByteArray::number(pid);
}

std::optional<pid_t> pidOf(const QByteArray& text)
{
    bool ok = false;
    const int pid = text.toInt(&ok);
    return ok ? std::optional<pid_t>(pid) : std::nullopt;
}

} // namespace

bool sendRender(int socket, const Render& render, int answerPipe)
{
    const QList<QByteArray> fields =
        QList<QByteArray>{QByteArray::number(render.memory)} + render.request.arguments();
    return send(socket, renderTag + fields.join('\0'), answerPipe);
}

bool sendStop(int socket, pid_t renderer)
{
    return send(socket, tagged(stopTag, renderer), -1);
}

bool sendStarted(int socket, pid_t renderer)
{
    return send(socket, tagged(startedTag, renderer), -1);
}

std::optional<Message> receive(int socket)
{
    QByteArray bytes(maxMessage, Qt::Uninitialized);
    iovec part{bytes.data(), size_t(bytes.size())};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    ssize_t got = -1;
    do {
        got = ::recvmsg(socket, &header, MSG_CMSG_CLOEXEC);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return std::nullopt;

    Message message;
    for (cmsghdr* part = CMSG_FIRSTHDR(&header); part; part = CMSG_NXTHDR(&header, part)) {
        if (part->cmsg_level != SOL_SOCKET || part->cmsg_type != SCM_RIGHTS) continue;
        int fd = -1;
        std::memcpy(&fd, CMSG_DATA(part), sizeof fd);
        message.pipe = UniqueFd(fd);
    }
    if (header.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) return message;
    bytes.truncate(got);
    const char tag = bytes.front();
    const QByteArray rest = bytes.mid(1);
    if (tag == stopTag) {
        message.stop = pidOf(rest);
        return message;
    }
    if (tag == startedTag) {
        message.started = pidOf(rest);
        return message;
    }
    if (tag != renderTag) return message;
    QList<QByteArray> fields = rest.split('\0');
    bool ok = false;
    const qint64 memory = fields.isEmpty() ? 0 : fields.takeFirst().toLongLong(&ok);
    const std::optional<RenderRequest> request = RenderRequest::fromArguments(fields);
    if (ok && memory > 0 && request && message.pipe.valid())
        message.render = Render{memory, *request};
    return message;
}

} // namespace RenderChannel
