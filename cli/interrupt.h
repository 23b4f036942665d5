#pragma once

#include "cancellation.h"

// Ctrl-C (or a closed terminal, or SIGTERM) asks the running job to stop at its next check instead
// of killing the process, so nothing half-done is left behind.
namespace Interrupt {

void install();
bool requested();
CancelCheck check();

} // namespace Interrupt
