#include "devicecommands.h"

#include "contentform.h"
#include "exchangeform.h"
#include "frmcom.h"
#include "runguard.h"

#include "device/archivesession.h"
#include "device/connection.h"
#include "device/portchoice.h"
#include "device/resultcodes.h"
#include "records/recordstore.h"
#include "base/ui/appservices.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QThread>

#include <algorithm>

// Carries the progress of the worker thread to the window thread. Bursts of
// byte progress are folded into one update: a new one is posted only after
// the window has taken the previous one. Queued calls die with the relay.
class DeviceCommands::Relay final : public QObject {
public:
    std::function<void(qint64, qint64)> onProgress; // window thread
    std::function<void(int)> onRecord;               // window thread

    // Worker thread.
    void progress(qint64 current, qint64 maximum)
    {
        m_current = current;
        m_maximum = maximum;
        if (!m_progressPending.exchange(true))
            QMetaObject::invokeMethod(this, [this] { deliverProgress(); }, Qt::QueuedConnection);
    }
    void record(int count)
    {
        m_records = count;
        if (!m_recordPending.exchange(true))
            QMetaObject::invokeMethod(this, [this] { deliverRecord(); }, Qt::QueuedConnection);
    }
    // Window thread, once the worker has finished: whatever is still posted.
    void flush()
    {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }

private:
    void deliverProgress()
    {
        m_progressPending = false;
        if (onProgress)
            onProgress(m_current, m_maximum);
    }
    void deliverRecord()
    {
        m_recordPending = false;
        if (onRecord)
            onRecord(m_records);
    }

    std::atomic<qint64> m_current{0};
    std::atomic<qint64> m_maximum{1};
    std::atomic<int> m_records{0};
    std::atomic<bool> m_progressPending{false};
    std::atomic<bool> m_recordPending{false};
};

namespace {

// Runs one step of the device run on a worker thread and keeps the window's
// events flowing until it is done.
device::Status runOffThread(const std::function<device::Status()> &work)
{
    device::Status result = device::Status::BadStatus;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&result, &work] { result = work(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    return result;
}

void centreOn(QWidget &dialog, const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : dialog.screen();
    if (!screen)
        return;
    dialog.adjustSize();
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

} // namespace

DeviceCommands::DeviceCommands(AppServices &services, RecordStore &store, QObject *parent)
    : QObject(parent), m_services(services), m_store(store)
{
    m_contForm = new TContForm(m_services.window);
    m_comForm = new TFrmCom(m_services.window);
    m_contForm->setMessageFn([this](MessageKind kind, const QString &text) { m_services.show(kind, text); });
    if (m_services.addSectionTexts) {
        m_services.addSectionTexts(QStringLiteral("ContentForm"),
                                   [this](const SectionTexts &texts) { m_contForm->applyStrings(texts); });
        m_services.addSectionTexts(QStringLiteral("CommParsForm"),
                                   [this](const SectionTexts &texts) { m_comForm->applyStrings(texts); });
        m_services.addSectionTexts(QStringLiteral("ExchangeForm"),
                                   [this](const SectionTexts &texts) { m_exchangeTexts = texts; });
    }
}

DeviceCommands::~DeviceCommands() = default;

device::Connection DeviceCommands::currentConnection() const
{
    const AppSettings s = m_services.settings ? *m_services.settings : AppSettings();
    device::Connection c;
    c.usb = s.interfaceType == InterfaceUsb;
    c.portName = device::serialPortPath(s.portIndex);
    c.baudRate = kRates[std::size_t(std::clamp(s.rateIndex, 0, int(kRates.size()) - 1))];
    return c;
}

void DeviceCommands::restoreCaption()
{
    const QString caption = m_services.mainText(QStringLiteral("ProgramTitle"));
    if (m_services.window)
        m_services.window->setWindowTitle(caption);
    QApplication::setApplicationDisplayName(caption);
}

void DeviceCommands::showRecordPhasePercent(qint64 current, qint64 maximum)
{
    const int percent = device::recordPhasePercent(current, maximum);
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    // The window and application title: caption, two blanks, the number, " %".
    const QString title = m_services.mainText(QStringLiteral("ProgramTitle")) + QStringLiteral("  ")
        + QString::number(percent) + QStringLiteral(" %");
    if (m_services.window)
        m_services.window->setWindowTitle(title);
    QApplication::setApplicationDisplayName(title);
}

void DeviceCommands::LoadArcFromDeviceActionExecute()
{
    if (m_running)
        return;
    m_running = true;
    AppServices &w = m_services;
    QWidget *window = w.window;
    const auto showStatus = [&w](const QString &text) {
        if (w.showStatus)
            w.showStatus(text);
    };
    showStatus(w.message(13));
    if (w.holdStatus)
        w.holdStatus(true);

    DeviceRunGuard guard(window, [this](bool busy) { emit busyChanged(busy); }, [this] { m_cancel = true; });
    device::Connection connection = currentConnection();
    if (connection.usb) {
        if (!m_ftdi)
            m_ftdi = device::makeLibFtdiApi();
        connection.ftdi = m_ftdi;
    }

    auto form = std::make_unique<TForm2>(window);
    m_exchangeForm = form.get();
    form->applyStrings(m_exchangeTexts);
    form->setConnection(connection.usb, connection.portName, connection.baudRate);
    connect(form.get(), &TForm2::cancelRequested, this, [this] { m_cancel = true; });
    centreOn(*form, window);
    form->show();

    device::ExchangeContext context;
    context.language = w.language();
    context.cancel = &m_cancel;
    Relay relay;
    relay.onProgress = [this, &form](qint64 current, qint64 maximum) {
        form->setProgress(current, maximum);
        if (m_recordPhase)
            showRecordPhasePercent(current, maximum);
    };
    relay.onRecord = [this, &form](int count) {
        form->setRecordsRead(count);
        emit recordRead(count);
    };
    context.progress = [&relay](qint64 current, qint64 maximum) { relay.progress(current, maximum); };
    context.recordRead = [&relay](int count, int) { relay.record(count); };
    device::ArchiveSession session(device::makeLinkMaker(connection, context), context);

    const device::Status rc = ReadArchive(*form, session, relay);

    form->hide();
    m_exchangeForm = nullptr;
    form.reset();
    restoreCaption();
    if (!context.diagnostic.dialogKey.isEmpty())
        w.show(MessageKind::Error, w.messageByKey(context.diagnostic.dialogKey));
    const auto messageText = [&w](const QString &key) { return w.messageByKey(key); };
    QString storeProblem; // what could not be stored as it came
    if (rc != device::Status::Ok) {
        showStatus(device::resultStatusText(rc, messageText, connection.portName, context.diagnostic));
    } else {
        storeProblem = device::storeReportText(session.storeRecords(m_store), messageText, w.language());
        showStatus(storeProblem.isEmpty() ? w.message(14) : QLatin1Char(' ') + storeProblem);
    }
    guard.release();
    if (w.holdStatus)
        w.holdStatus(false);
    m_contForm->Clear();
    session.clear();
    if (rc == device::Status::Ok)
        m_store.Rescan(); // the lists show what the run stored
    if (!storeProblem.isEmpty())
        w.show(MessageKind::Error, storeProblem);
    m_running = false;
    emit runFinished(device::code(rc));
}

device::Status DeviceCommands::ReadArchive(TForm2 &form, device::ArchiveSession &session, Relay &relay)
{
    m_cancel = false;
    m_recordPhase = false;
    m_lastPercent = -1;
    form.ResetDisplay();

    // Identify and the table of contents.
    device::Status rc = runOffThread([&session] { return session.identifyAndReadContent(); });
    relay.flush();
    if (rc != device::Status::Ok)
        return rc;

    // The user's choice, with the exchange dialog out of the way.
    form.hide();
    m_contForm->setLanguage(m_services.language());
    m_contForm->Fill(session.info(), session.content(), [this](const QString &section, const QString &path) {
        return m_services.text ? m_services.text(section, path) : QString();
    });
    centreOn(*m_contForm, m_services.window);
    emit contentDialogShown();
    if (m_contForm->exec() != QDialog::Accepted)
        return device::Status::Cancelled;
    form.show();
    const QVector<int> numbers = m_contForm->CheckedNumbers();
    if (numbers.isEmpty())
        return device::Status::Ok;
    // The dialog refuses a larger choice; the buffer is never exceeded.
    if (numbers.size() > device::kMaxRecordsPerRun)
        return device::Status::Cancelled;

    // The records.
    form.ShowInstrument(session.info(), int(numbers.size()));
    centreOn(form, m_services.window);
    m_recordPhase = true;
    emit recordPhaseStarted(int(numbers.size()));
    rc = runOffThread([&session, &numbers] { return session.readRecords(numbers); });
    relay.flush();
    m_recordPhase = false;
    return rc;
}

void DeviceCommands::ComSetupActionExecute()
{
    if (!m_services.settings)
        return;
    AppSettings &s = *m_services.settings;
    m_comForm->FillPortList(device::presentSerialPorts());
    m_comForm->Preset(s.interfaceType, s.portIndex, s.rateIndex, device::loadTypedPortPath());
    centreOn(*m_comForm, m_services.window);
    if (m_comForm->exec() != QDialog::Accepted)
        return;
    s.interfaceType = static_cast<std::uint8_t>(m_comForm->InterfaceType());
    s.portIndex = m_comForm->PortIndex();
    s.rateIndex = m_comForm->RateIndex();
    device::storeTypedPortPath(m_comForm->TypedPortPath());
    emit m_services.connectionSettingsChanged();
}
