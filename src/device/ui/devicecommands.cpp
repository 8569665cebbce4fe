#include "devicecommands.h"

#include "contentform.h"
#include "exchangeform.h"
#include "frmcom.h"
#include "runguard.h"
#include "workerrun.h"

#include "device/archivesession.h"
#include "device/connection.h"
#include "device/portchoice.h"
#include "device/resultcodes.h"
#include "records/recordstore.h"
#include "records/storedindex.h"
#include "base/ui/appservices.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace {

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
    if (m_services.addSectionTexts) {
        m_services.addSectionTexts(QStringLiteral("ContentForm"), [this](const SectionTexts &texts) {
            m_contentTexts = texts;
            if (m_contForm)
                m_contForm->applyStrings(texts);
        });
        m_services.addSectionTexts(QStringLiteral("CommParsForm"), [this](const SectionTexts &texts) {
            m_comTexts = texts;
            if (m_comForm)
                m_comForm->applyStrings(texts);
        });
        m_services.addSectionTexts(QStringLiteral("ExchangeForm"),
                                   [this](const SectionTexts &texts) { m_exchangeTexts = texts; });
    }
}

DeviceCommands::~DeviceCommands() = default;

TContForm *DeviceCommands::contentForm()
{
    if (!m_contForm) {
        m_contForm = new TContForm(m_services.window);
        m_contForm->setMessageFn([this](MessageKind kind, const QString &text) { m_services.show(kind, text); });
        if (m_contentTexts)
            m_contForm->applyStrings(*m_contentTexts);
    }
    return m_contForm;
}

TFrmCom *DeviceCommands::comForm()
{
    if (!m_comForm) {
        m_comForm = new TFrmCom(m_services.window);
        if (m_comTexts)
            m_comForm->applyStrings(*m_comTexts);
    }
    return m_comForm;
}

device::Connection DeviceCommands::currentConnection() const
{
    return device::connectionFor(m_services.settings ? *m_services.settings : AppSettings());
}

void DeviceCommands::restoreCaption()
{
    m_services.restoreCaption();
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
    m_services.setCaption(title);
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

    DeviceRunGuard guard(
        window, [this](bool busy) { emit busyChanged(busy); }, [this] { m_cancel = true; });
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
    ProgressRelay relay;
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
    if (m_contForm)
        m_contForm->Clear();
    session.clear();
    if (rc == device::Status::Ok)
        m_store.Rescan(); // the lists show what the run stored
    if (!storeProblem.isEmpty())
        w.show(MessageKind::Error, storeProblem);
    m_running = false;
    emit runFinished(device::code(rc));
}

device::Status DeviceCommands::ReadArchive(TForm2 &form, device::ArchiveSession &session, ProgressRelay &relay)
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
    TContForm &choice = *contentForm();
    choice.setLanguage(m_services.language());
    choice.Fill(session.info(), session.content(), [this](const QString &section, const QString &path) {
        return m_services.text ? m_services.text(section, path) : QString();
    });
    // Which entries are stored already, and where: the user sees them and
    // can tick only the others.
    QVector<std::optional<QString>> stored;
    runOffThread([this, &session, &stored] {
        stored = LocateStored(m_store.dataFolder(), session.content());
        return device::Status::Ok;
    });
    choice.SetStoredFolders(stored);
    centreOn(choice, m_services.window);
    emit contentDialogShown();
    if (choice.exec() != QDialog::Accepted)
        return device::Status::Cancelled;
    form.show();
    const QVector<int> numbers = choice.CheckedNumbers();
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
    TFrmCom &dialog = *comForm();
    dialog.FillPortList(device::presentSerialPorts());
    dialog.Preset(s.interfaceType, s.portIndex, s.rateIndex, device::loadTypedPortPath());
    centreOn(dialog, m_services.window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A choice made in the dialog replaces the device given for this run.
    s.runPortPath.clear();
    s.interfaceType = static_cast<std::uint8_t>(dialog.InterfaceType());
    s.portIndex = dialog.PortIndex();
    s.rateIndex = dialog.RateIndex();
    device::storeTypedPortPath(dialog.TypedPortPath());
    emit m_services.connectionSettingsChanged();
}
