#include "meterbasedevicerun.h"

#include "base/appstate.h"
#include "deviceoutcome/status.h"
#include "device/ui/devicerun.h"
#include "meterdb/meterbasetransfer.h"

namespace {

constexpr int kReadStartMessage = 17; // " Загрузка базы данных поверяемых средств из прибора."
constexpr int kWriteStartMessage = 15; // " Загрузка базы данных поверяемых средств в прибор."
constexpr int kReadDoneMessage = 14; // " Чтение прошло успешно."
constexpr int kWriteDoneMessage = 16; // " Запись базы счетчиков прошла успешно."

} // namespace

MeterBaseDeviceRun::MeterBaseDeviceRun(const MeterBaseServices &services) : m_services(services) {}

device::Status MeterBaseDeviceRun::read(const device::Connection &connection, meterdb::MeterList &entries)
{
    return run(connection, kReadStartMessage, kReadDoneMessage,
               [&entries](device::LinkMaker makeLink, device::ExchangeContext &context) {
                   meterdb::MeterBaseTransfer transfer(std::move(makeLink), context);
                   return transfer.read(entries);
               });
}

device::Status MeterBaseDeviceRun::write(const device::Connection &connection, const QByteArray &area)
{
    return run(connection, kWriteStartMessage, kWriteDoneMessage,
               [&area](device::LinkMaker makeLink, device::ExchangeContext &context) {
                   meterdb::MeterBaseTransfer transfer(std::move(makeLink), context);
                   return transfer.write(area);
               });
}

device::Status
MeterBaseDeviceRun::run(const device::Connection &connection, int startMessage, int successMessage,
                        const std::function<device::Status(device::LinkMaker, device::ExchangeContext &)> &work)
{
    const MeterBaseServices &s = m_services;
    DeviceRunServices services;
    services.parent = s.parent;
    services.texts = {s.message, s.language ? s.language() : int(LanguageEnglish)};
    if (s.exchangeTexts)
        services.exchangeTexts = s.exchangeTexts();
    services.show = s.show;
    services.setStatus = s.setStatus;
    services.holdStatus = [&s](bool held) {
        const auto &timer = held ? s.stopStatusTimer : s.startStatusTimer;
        if (timer)
            timer();
    };
    services.restoreCaption = s.restoreCaption;

    // Nothing else takes input while the instrument is talked to; the
    // dialog's own cancel button stays usable.
    DeviceRun run(std::move(services), connection, startMessage, true);
    const device::Status rc = run.runOffThread([&work, &run] { return work(run.linkMaker(), run.context()); });
    run.finish(rc, s.message(successMessage));
    return rc;
}
