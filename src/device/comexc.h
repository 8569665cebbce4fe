// Failure inside a serial operation: carries the status and is caught
// at the boundary of the device operation.
#pragma once

#include "resultcodes.h"

#include <exception>

namespace device {

class ComExc : public std::exception {
public:
    explicit ComExc(Status status) : status_(status) {}
    Status status() const noexcept { return status_; }
    const char *what() const noexcept override { return "device exchange failure"; }

private:
    Status status_;
};

} // namespace device
