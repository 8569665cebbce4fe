// A whole reading over a fake line: identify, archive content and up to
// three records, the answers taken one after another from the input (every
// frame's CRC re-stamped on most inputs), then the conversion of every
// record read. A reading either ends with a result code or delivers one
// slot per record asked for, and every converted record reads back.
#include "fakeline.h"
#include "fuzzinput.h"

#include "device/deviceclient.h"
#include "device/frame.h"
#include "device/link.h"
#include "records/cnvrecord.h"
#include "records/meterfile.h"

#include <QLocale>

using namespace device;

namespace {

// Re-stamps the CRC of every frame the headers announce, one after another.
void restamp(std::uint8_t *b, std::size_t size)
{
    std::size_t pos = 0;
    while (pos + std::size_t(kFrameHeader) <= size) {
        const std::size_t total = std::size_t(b[pos + 2] | (b[pos + 3] << 8)) + kFrameOverhead;
        if (pos + total > size)
            return;
        fuzz::seal(b, size, pos, total - 2);
        pos += total;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    if (in.restamp())
        restamp(in.bytes.get(), in.size);
    const bool usb = (in.control >> 3) & 1;
    fuzz::Line line{in.bytes.get(), in.size, 0, usb ? std::size_t(1 + 37 * (in.control & 7)) : 1};
    ExchangeContext context;
    fuzz::FakeSerial serial(line);
    fuzz::FakeBridge api(line);
    FTDI_device bridge(api);
    fuzz::QuietFrames frames(bridge);
    LinkMaker makeLink = [&](Timeouts timeouts) -> std::unique_ptr<Link> {
        if (usb)
            return std::make_unique<UsbLink>(bridge, frames);
        return std::make_unique<SerialLink>(serial, timeouts, context);
    };
    DeviceClient client(makeLink, context);
    DeviceInfo info;
    if (client.identify(info) != Status::Ok)
        return 0;
    QVector<pcn::_datacounter> content;
    if (client.readContent(info, content) != Status::Ok)
        return 0;
    QVector<int> numbers;
    for (int k = 1; k <= std::min<int>(client.archiveSize(), 3); ++k)
        numbers << k;
    QVector<QByteArray> records;
    if (client.readRecords(info, numbers, records) != Status::Ok)
        return 0;
    fuzz::check(records.size() == numbers.size(), "a reading delivered another number of records than asked");
    for (const QByteArray &slot : records) {
        fuzz::check(slot.size() <= kRecordSlotSize, "a record slot beyond its size");
        if (const auto record = ConvertArchiveSlot(slot, info))
            fuzz::check(parseMeterFile(record->header + record->block).readable,
                        "a converted record does not read back");
    }
    return 0;
}
