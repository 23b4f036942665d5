#pragma once

#include "media/render_request.h"
#include "unique_fd.h"

#include <QByteArray>
#include <optional>
#include <sys/types.h>

// The messages between the application and its renderer server, over a
// SOCK_SEQPACKET socket pair: the application asks for a rendering and hands
// over the pipe for its answer; the server answers with the process that
// renders it, which the application may ask it to stop.
namespace RenderChannel {

// The descriptor the server finds its end of the socket on.
constexpr int serverSocket = 3;

struct Render {
    qint64 memory = 0; // address space the rendering may add
    RenderRequest request;
};

bool sendRender(int socket, const Render& render, int answerPipe);
bool sendStop(int socket, pid_t renderer);
bool sendStarted(int socket, pid_t renderer); // -1 when it could not be started

// One message as it came: a Render (with its pipe in `pipe`), a stop, the
// started answer, or none of them when it was garbled. None when the other
// end closed.
struct Message {
    std::optional<Render> render;
    UniqueFd pipe;
    std::optional<pid_t> stop;
    std::optional<pid_t> started;
};
std::optional<Message> receive(int socket);

} // namespace RenderChannel
