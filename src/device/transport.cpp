#include "transport.h"

#include <thread>

namespace device {

void Transport::pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace device
