#include "interrupt.h"

#include <atomic>
#include <csignal>

namespace Interrupt {

namespace {
std::atomic<bool> flag{false};

extern "C" void onSignal(int)
{
    flag.store(true);
}
} // namespace

void install()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool requested()
{
    return flag.load(std::memory_order_relaxed);
}

CancelCheck check()
{
    return [] { return requested(); };
}

} // namespace Interrupt
