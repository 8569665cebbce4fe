#include "devicecommands.h"

#include "contentform.h"
#include "exchangeform.h"
#include "frmcom.h"
#include "devicerun.h"
#include "runguard.h"
#include "workerrun.h"

#include "device/archivesession.h"
#include "device/connection.h"
#include "device/portchoice.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"
#include "records/recordstore.h"
#include "records/storedindex.h"
#include "base/ui/appservices.h"
#include "views/ui/recordviews.h"

#include <QApplication>
#include <QLabel>

#include <algorithm>

namespace {

constexpr int kStartMessage = 13; // " Чтение архива."
constexpr int kDoneMessage = 14; // " Чтение прошло успешно."

} // namespace

DeviceCommands::DeviceCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent)
    : QObject(parent), m_services(services), m_store(store)
{
    connect(&m_services.texts(), &TextCatalogue::sectionApplied, this,
            [this](const QString &section, const SectionTexts &texts) {
                if (section == QLatin1String("ContentForm")) {
                    m_contentTexts = texts;
                    if (m_contForm)
                        m_contForm->applyStrings(texts);
                } else if (section == QLatin1String("CommParsForm")) {
                    m_comTexts = texts;
                    if (m_comForm)
                        m_comForm->applyStrings(texts);
                } else if (section == QLatin1String("ExchangeForm")) {
                    m_exchangeTexts = texts;
                }
            });
    // While a run works no other command may touch the store.
    connect(this, &DeviceCommands::busyChanged, &views, &RecordViews::SetBusy);
}

DeviceCommands::~DeviceCommands() = default;

TContForm *DeviceCommands::contentForm()
{
    if (!m_contForm) {
        m_contForm = new TContForm(m_services.window());
        m_contForm->setMessageFn([this](MessageKind kind, const QString &text) { m_services.showMessage(kind, text); });
        if (m_contentTexts)
            m_contForm->applyStrings(*m_contentTexts);
    }
    return m_contForm;
}

TFrmCom *DeviceCommands::comForm()
{
    if (!m_comForm) {
        m_comForm = new TFrmCom(m_services.window());
        if (m_comTexts)
            m_comForm->applyStrings(*m_comTexts);
    }
    return m_comForm;
}

device::Connection DeviceCommands::currentConnection() const
{
    return device::connectionFor(m_services.settings().values());
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
    device::Connection connection = currentConnection();
    if (connection.usb) {
        if (!m_ftdi)
            m_ftdi = device::makeLibFtdiApi();
        connection.ftdi = m_ftdi;
    }

    DeviceRun run(deviceRunServices(w, m_exchangeTexts), connection, kStartMessage, false);
    DeviceRunGuard guard(
        w.window(), [this](bool busy) { emit busyChanged(busy); }, [&run] { run.requestCancel(); });
    m_exchangeForm = &run.form();
    run.relay().onProgress = [this, &run](qint64 current, qint64 maximum) {
        if (m_exchangeForm)
            run.form().setProgress(current, maximum);
        if (m_recordPhase)
            showRecordPhasePercent(current, maximum);
    };
    run.relay().onRecord = [this, &run](int count) {
        if (m_exchangeForm)
            run.form().setRecordsRead(count);
        emit recordRead(count);
    };
    run.context().recordRead = [&run](int count, int) { run.relay().record(count); };
    device::ArchiveSession session(run.linkMaker(), run.context());

    const device::Status rc = ReadArchive(run, session);

    m_exchangeForm = nullptr;
    const QString failure = run.close(rc);
    QString storeProblem; // what could not be stored as it came
    if (rc != device::Status::Ok) {
        run.setStatus(failure);
    } else {
        storeProblem = deviceoutcome::storeReportText(session.storeRecords(m_store), run.texts());
        run.setStatus(storeProblem.isEmpty() ? w.message(kDoneMessage) : QLatin1Char(' ') + storeProblem);
    }
    guard.release();
    run.releaseStatus();
    if (m_contForm)
        m_contForm->Clear();
    session.clear(); // the lists follow what the run stored (RecordStore::recordsStored)
    if (!storeProblem.isEmpty())
        w.showMessage(MessageKind::Error, storeProblem);
    m_running = false;
    emit runFinished(device::code(rc));
}

device::Status DeviceCommands::ReadArchive(DeviceRun &run, device::ArchiveSession &session)
{
    TForm2 &form = run.form();
    run.clearCancel();
    m_recordPhase = false;
    m_lastPercent = -1;
    form.ResetDisplay();

    // Identify and the table of contents.
    device::Status rc = run.runOffThread([&session] { return session.identifyAndReadContent(); });
    if (rc != device::Status::Ok)
        return rc;

    // The user's choice, with the exchange dialog out of the way.
    form.hide();
    TContForm &choice = *contentForm();
    choice.setLanguage(m_services.language());
    choice.Fill(session.info(), session.content(), m_services.texts().lookup());
    // Which entries are stored already, and where: the user sees them and
    // can tick only the others.
    QVector<std::optional<QString>> stored;
    runOffThread([this, &session, &stored] {
        stored = LocateStored(m_store.dataFolder(), session.content());
        return device::Status::Ok;
    });
    choice.SetStoredFolders(stored);
    centreOnScreen(choice, m_services.window());
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
    centreOnScreen(form, m_services.window());
    m_recordPhase = true;
    emit recordPhaseStarted(int(numbers.size()));
    rc = run.runOffThread([&session, &numbers] { return session.readRecords(numbers); });
    m_recordPhase = false;
    return rc;
}

void DeviceCommands::ComSetupActionExecute()
{
    const AppSettings &s = m_services.settings().values();
    TFrmCom &dialog = *comForm();
    dialog.FillPortList(device::presentSerialPorts());
    dialog.Preset(s.interfaceType, s.portIndex, s.rateIndex, device::loadTypedPortPath());
    centreOnScreen(dialog, m_services.window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    device::storeTypedPortPath(dialog.TypedPortPath());
    m_services.settings().setConnection(dialog.InterfaceType(), dialog.PortIndex(), dialog.RateIndex());
}
