#pragma once

#include "file_error.h"

#include <QString>
#include <exception>

// The one line a person reads for a failure caught as `failure`.
QString failureMessage(const std::exception_ptr& failure);

// Runs `work`. A cancellation ends it quietly; any other failure reaches
// `failed` as the line a person reads. Answers whether `work` ran to its end.
template <typename Work, typename Failed> bool succeeds(Work&& work, Failed&& failed)
{
    try {
        work();
        return true;
    } catch (const Cancelled&) {
        return false;
    } catch (...) {
        failed(failureMessage(std::current_exception()));
        return false;
    }
}
