// Failure inside a serial operation: carries the result code and is caught
// at the boundary of the device operation.
#pragma once

#include <exception>

namespace device {

class ComExc : public std::exception {
public:
    explicit ComExc(int code) : code_(code) {}
    int code() const noexcept { return code_; }
    const char *what() const noexcept override { return "device exchange failure"; }

private:
    int code_;
};

} // namespace device
