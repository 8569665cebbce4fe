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
#include "records/ui/folderpanel.h"
#include "records/ui/statusmessagetimer.h"
#include "mainwindow/korvelform.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace {

void centreOn(QWidget &dialog, const QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    dialog.adjustSize();
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

} // namespace

DeviceCommands::DeviceCommands(TKorvelForm &window) : QObject(&window), m_window(window)
{
    m_contForm = new TContForm(&window);
    m_comForm = new TFrmCom(&window);
    m_contForm->setMessageFn([this](MessageKind kind, const QString &text) { m_window.showMessage(kind, text); });
    window.registerSectionApplier(QStringLiteral("ContentForm"),
                                  [this](const SectionTexts &texts) { m_contForm->applyStrings(texts); });
    window.registerSectionApplier(QStringLiteral("CommParsForm"),
                                  [this](const SectionTexts &texts) { m_comForm->applyStrings(texts); });
    window.registerSectionApplier(QStringLiteral("ExchangeForm"),
                                  [this](const SectionTexts &texts) { m_exchangeTexts = texts; });
}

DeviceCommands::~DeviceCommands() = default;

device::Connection DeviceCommands::currentConnection() const
{
    const AppSettings &s = m_window.settings();
    device::Connection c;
    c.usb = s.interfaceType == InterfaceUsb;
    c.portName = device::serialPortPath(s.portIndex);
    c.baudRate = kRates[std::size_t(std::clamp(s.rateIndex, 0, int(kRates.size()) - 1))];
    return c;
}

void DeviceCommands::restoreCaption()
{
    const QString caption = m_window.mainText(QStringLiteral("ProgramTitle"));
    m_window.setWindowTitle(caption);
    QApplication::setApplicationDisplayName(caption);
}

void DeviceCommands::showRecordPhasePercent(qint64 current, qint64 maximum)
{
    const int percent = device::recordPhasePercent(current, maximum);
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    // The window and application title: caption, two blanks, the number, " %".
    const QString title = m_window.mainText(QStringLiteral("ProgramTitle")) + QStringLiteral("  ")
        + QString::number(percent) + QStringLiteral(" %");
    m_window.setWindowTitle(title);
    QApplication::setApplicationDisplayName(title);
}

void DeviceCommands::LoadArcFromDeviceActionExecute()
{
    if (m_running)
        return;
    m_running = true;
    TKorvelForm &w = m_window;
    w.messagePanel()->setText(w.message(13));
    w.messagePanel()->repaint();
    w.statusTimer()->StopStatusTimer();

    DeviceRunGuard guard(w, [this] { m_cancel = true; });
    device::Connection connection = currentConnection();
    if (connection.usb) {
        if (!m_ftdi)
            m_ftdi = device::makeLibFtdiApi();
        connection.ftdi = m_ftdi;
    }

    auto form = std::make_unique<TForm2>(&w);
    m_exchangeForm = form.get();
    form->applyStrings(m_exchangeTexts);
    form->setConnection(connection.usb, connection.portName, connection.baudRate);
    connect(form.get(), &TForm2::cancelRequested, this, [this] { m_cancel = true; });
    centreOn(*form, w);
    form->show();

    device::ExchangeContext context;
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

    const int rc = ReadArchive(*form, session, relay);

    form->hide();
    m_exchangeForm = nullptr;
    form.reset();
    restoreCaption();
    if (!context.diagnostic.dialogKey.isEmpty())
        w.showMessage(MessageKind::Error, w.mainText(QStringLiteral("ErrorMessages/") + context.diagnostic.dialogKey));
    if (rc != device::ResultOk) {
        const auto messageText = [&w](const QString &key) { return w.mainText(QStringLiteral("ErrorMessages/") + key); };
        w.messagePanel()->setText(device::resultStatusText(rc, messageText, connection.portName, context.diagnostic));
    } else {
        w.messagePanel()->setText(w.message(14));
        session.storeRecords(w.store());
    }
    w.messagePanel()->repaint();
    guard.release();
    w.statusTimer()->StartStatusTimer();
    m_contForm->Clear();
    session.clear();
    if (rc == device::ResultOk && !w.folderPanel()->selectFolder(w.store().currentFolder()))
        w.RedisplayCurrentFolder(); // the folder's node is gone: show what the store holds
    m_running = false;
    emit runFinished(rc);
}

int DeviceCommands::ReadArchive(TForm2 &form, device::ArchiveSession &session, ProgressRelay &relay)
{
    m_cancel = false;
    m_recordPhase = false;
    m_lastPercent = -1;
    form.ResetDisplay();

    // Identify and the table of contents.
    int rc = runOffThread([&session] { return session.identifyAndReadContent(); });
    relay.flush();
    if (rc != device::ResultOk)
        return rc;

    // The user's choice, with the exchange dialog out of the way.
    form.hide();
    m_contForm->setLanguage(m_window.Language());
    m_contForm->Fill(session.info(), session.content(),
                     [this](const QString &section, const QString &path) { return m_window.sectionText(section, path); });
    centreOn(*m_contForm, m_window);
    emit contentDialogShown();
    if (m_contForm->exec() != QDialog::Accepted)
        return device::ResultCancelled;
    form.show();
    const QVector<int> numbers = m_contForm->CheckedNumbers();
    if (numbers.isEmpty())
        return device::ResultOk;
    // The dialog refuses a larger choice; the buffer is never exceeded.
    if (numbers.size() > device::kMaxRecordsPerRun)
        return device::ResultCancelled;

    // The records.
    form.ShowInstrument(session.info(), int(numbers.size()));
    centreOn(form, m_window);
    m_recordPhase = true;
    emit recordPhaseStarted(int(numbers.size()));
    rc = runOffThread([&session, &numbers] { return session.readRecords(numbers); });
    relay.flush();
    m_recordPhase = false;
    return rc;
}

void DeviceCommands::ComSetupActionExecute()
{
    AppSettings &s = m_window.settings();
    m_comForm->FillPortList(device::presentSerialPorts());
    m_comForm->Preset(s.interfaceType, s.portIndex, s.rateIndex, device::loadTypedPortPath());
    centreOn(*m_comForm, m_window);
    if (m_comForm->exec() != QDialog::Accepted)
        return;
    s.interfaceType = static_cast<std::uint8_t>(m_comForm->InterfaceType());
    s.portIndex = m_comForm->PortIndex();
    s.rateIndex = m_comForm->RateIndex();
    device::storeTypedPortPath(m_comForm->TypedPortPath());
    m_window.writeConnectionStatus();
}
