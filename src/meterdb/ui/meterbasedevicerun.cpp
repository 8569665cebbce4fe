#include "meterbasedevicerun.h"

#include "device/archivesession.h"
#include "device/resultcodes.h"
#include "device/ui/exchangeform.h"
#include "device/ui/workerrun.h"
#include "meterdb/meterbasetransfer.h"

#include <QScreen>

#include <atomic>
#include <memory>

namespace {

constexpr int kReadStartMessage = 17; // " Загрузка базы данных поверяемых средств из прибора."
constexpr int kWriteStartMessage = 15; // " Загрузка базы данных поверяемых средств в прибор."
constexpr int kReadDoneMessage = 14; // " Чтение прошло успешно."
constexpr int kWriteDoneMessage = 16; // " Запись базы счетчиков прошла успешно."

void centre(QWidget &dialog)
{
    dialog.adjustSize();
    if (const QScreen *screen = dialog.screen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
}

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
    if (s.setStatus)
        s.setStatus(s.message(startMessage));
    if (s.stopStatusTimer)
        s.stopStatusTimer();

    std::atomic<bool> cancel{false};
    auto form = std::make_unique<TForm2>(s.parent);
    if (s.exchangeTexts)
        form->applyStrings(s.exchangeTexts());
    form->setConnection(connection.usb, connection.portName, connection.baudRate);
    // Nothing else takes input while the instrument is talked to; the
    // dialog's own cancel button stays usable.
    form->setWindowModality(Qt::ApplicationModal);
    QObject::connect(form.get(), &TForm2::cancelRequested, form.get(), [&cancel] { cancel = true; });
    form->ResetDisplay();
    centre(*form);
    form->show();

    device::ExchangeContext context;
    context.cancel = &cancel;
    ProgressRelay relay;
    relay.onProgress = [&form](qint64 current, qint64 maximum) { form->setProgress(current, maximum); };
    context.progress = [&relay](qint64 current, qint64 maximum) { relay.progress(current, maximum); };
    device::LinkMaker makeLink = device::makeLinkMaker(connection, context);
    const device::Status rc = runOffThread([&work, &makeLink, &context] { return work(makeLink, context); });
    relay.flush();

    form->hide();
    form.reset();
    if (s.restoreCaption)
        s.restoreCaption();
    if (!context.diagnostic.dialogKey.isEmpty() && s.show)
        s.show(MessageKind::Error, s.message(context.diagnostic.dialogKey.mid(5).toInt()));
    if (s.setStatus) {
        if (rc == device::Status::Ok) {
            s.setStatus(s.message(successMessage));
        } else {
            const auto messageText = [&s](const QString &key) { return s.message(key.mid(5).toInt()); };
            s.setStatus(device::resultStatusText(rc, messageText, connection.portName, context.diagnostic));
        }
    }
    if (s.startStatusTimer)
        s.startStatusTimer();
    return rc;
}
