#include "connection.h"

#include "ftdidevice.h"
#include "portchoice.h"
#include "llexch.h"
#include "tracetransport.h"

#include <algorithm>
#include <vector>

namespace device {

Connection connectionFor(const AppSettings &settings)
{
    Connection c;
    c.usb = settings.interfaceType == InterfaceUsb;
    c.portName = serialPortPath(settings.portIndex);
    // A device chosen on the command line for this run only talks over that
    // serial device, whatever interface is saved.
    if (!settings.runPortPath.isEmpty()) {
        c.usb = false;
        c.portName = settings.runPortPath;
    }
    c.baudRate = kRates[std::size_t(std::clamp(settings.rateIndex, 0, int(kRates.size()) - 1))];
    return c;
}

namespace {

// A link together with the transports it runs on, which it owns.
class OwnedLink final : public Link {
public:
    std::unique_ptr<Transport> device;
    std::unique_ptr<Transport> trace;
    std::unique_ptr<Link> inner;

    Status begin() override { return inner->begin(); }
    Status exchange(const QByteArray &request, QByteArray &answer, int capacity, int expectedLength) override
    {
        return inner->exchange(request, answer, capacity, expectedLength);
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
            owned->inner = std::make_unique<UsbLink>(static_cast<FTDI_device &>(*owned->device), *frames);
        else
            owned->inner = std::make_unique<SerialLink>(*frames, timeouts, context);
        return owned;
    };
}

} // namespace device
