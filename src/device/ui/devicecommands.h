// The main window's device commands: reading the instrument's archive
// ("Read from device", LoadArcFromDeviceAction) and the communication
// settings (ComSetupAction). One instance lives with the main window; it
// owns the content and settings dialogs and creates the exchange dialog for
// every run.
//
// A run works on a worker thread while the window's event loop goes on, so
// that the window repaints and the cancel button answers; busyChanged tells
// the command states to keep every other command away from the store
// meanwhile, and the run guard turns a close of the window into a cancel.
#pragma once

#include "base/stringdocument.h"

#include <QObject>

#include <memory>
#include <optional>

class TContForm;
class TForm2;
class TFrmCom;
class DeviceRun;
class AppServices;
class RecordStore;
class RecordViews;

namespace device {
enum class Status : int;
class ArchiveSession;
class FtdiApi;
struct Connection;
} // namespace device

class DeviceCommands final : public QObject {
    Q_OBJECT
public:
    // The runs store into `store`; `views` are kept away from it meanwhile.
    DeviceCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);
    ~DeviceCommands() override;
    DeviceCommands(const DeviceCommands &) = delete;
    DeviceCommands &operator=(const DeviceCommands &) = delete;

    // The content and settings dialogs, made on first use with the texts
    // last applied to their sections.
    TContForm *contentForm();
    TFrmCom *comForm();
    // The exchange dialog of the run under way; null between runs.
    TForm2 *exchangeForm() const { return m_exchangeForm; }
    bool isRunning() const { return m_running; }

    // The connection the settings describe: USB, or the serial device path
    // and the baud rate.
    device::Connection currentConnection() const;

public slots:
    // Reads the archive: identify, content, the user's choice, the records,
    // conversion and storage in the selected folder; the outcome goes to the
    // status bar.
    void LoadArcFromDeviceActionExecute();
    // Edits the communication settings.
    void ComSetupActionExecute();

signals:
    // The content dialog is about to be shown modally.
    void contentDialogShown();
    // The records of the choice are about to be read.
    void recordPhaseStarted(int total);
    // One more record has arrived (count so far).
    void recordRead(int count);
    // A run has ended with the result code of its status.
    void runFinished(int result);
    // A run started (true) or ended (false).
    void busyChanged(bool busy);

private:
    device::Status ReadArchive(DeviceRun &run, device::ArchiveSession &session);
    void showRecordPhasePercent(qint64 current, qint64 maximum);

    AppServices &m_services;
    RecordStore &m_store;
    TContForm *m_contForm = nullptr;
    TFrmCom *m_comForm = nullptr;
    std::optional<SectionTexts> m_contentTexts;
    std::optional<SectionTexts> m_comTexts;
    TForm2 *m_exchangeForm = nullptr;
    SectionTexts m_exchangeTexts;
    std::shared_ptr<device::FtdiApi> m_ftdi; // loaded on the first USB run, kept
    bool m_running = false;
    bool m_recordPhase = false;
    int m_lastPercent = -1;
};
