#pragma once

#include <QString>
#include <exception>

// The one line a person reads for a failure caught as `failure`.
QString failureMessage(const std::exception_ptr& failure);
