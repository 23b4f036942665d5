#pragma once

#include "media/render_request.h"

#include <QByteArray>
#include <functional>

// Serves the application's renderings over the socket on
// RenderChannel::serverSocket until the application closes it. Each rendering
// runs in a process forked from this small one (cheap, unlike a fork of the
// application) with its address space limited, and writes its answer to the
// pipe that came with the request; a stop message kills it.
class RenderServer {
public:
    using Work = std::function<QByteArray(const RenderRequest&)>;

    explicit RenderServer(Work work);
    // Returns when the application is gone.
    int run();

private:
    Work work_;
};
