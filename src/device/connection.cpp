#include "connection.h"

#include "ftdidevice.h"
#include "llexch.h"
#include "tracetransport.h"

#include <vector>

namespace device {

namespace {

// A link together with the transports it runs on, which it owns.
class OwnedLink final : public Link {
public:
    std::unique_ptr<Transport> device;
    std::unique_ptr<Transport> trace;
    std::unique_ptr<Link> inner;

    Status begin() override { return inner->begin(); }
    void exchange(const QByteArray &request, QByteArray &answer, int capacity, int expectedLength) override
    {
        inner->exchange(request, answer, capacity, expectedLength);
    }
    Status end() override { return inner->end(); }
    void abort() override { inner->abort(); }
    void pause(std::chrono::milliseconds duration) override { inner->pause(duration); }
    LinkTraits traits() const override { return inner->traits(); }
};

} // namespace

LinkMaker makeLinkMaker(Connection connection, ExchangeContext &context)
{
    auto shared = std::make_shared<Connection>(std::move(connection));
    return [shared, &context](Timeouts timeouts) -> std::unique_ptr<Link> {
        auto owned = std::make_unique<OwnedLink>();
        const Connection &c = *shared;
        if (c.usb) {
            if (!c.ftdi)
                shared->ftdi = makeLibFtdiApi();
            auto usbDevice = std::make_unique<FTDI_device>(*shared->ftdi);
            owned->device = std::move(usbDevice);
        } else {
            owned->device = std::make_unique<COM_M::CLlExch>(c.portName, c.baudRate);
        }
        Transport *frames = owned->device.get();
        if (!c.tracePath.isEmpty()) {
            owned->trace = std::make_unique<TraceTransport>(*owned->device, c.tracePath, c.traceEpoch);
            frames = owned->trace.get();
        }
        if (c.usb)
            owned->inner = std::make_unique<UsbLink>(static_cast<FTDI_device &>(*owned->device), *frames, context);
        else
            owned->inner = std::make_unique<SerialLink>(*frames, timeouts, context);
        return owned;
    };
}

} // namespace device
