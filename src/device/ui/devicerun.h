// One device run as the user sees it, shared by the archive reading and the
// meter database transfers. The start shows the start message in the status
// line (its clearing timer held), makes and shows the exchange dialog for the
// connection, and sets up the run: its cancel flag (the dialog's button),
// its progress (into the dialog) and the language its outcome is told in.
// The end closes the dialog, gives the window its caption back and tells the
// outcome: the error box of a cause that has one, then the status line.
#pragma once

#include "workerrun.h"

#include "base/stringdocument.h"
#include "base/ui/passworddialogs.h"
#include "device/connection.h"
#include "device/exchangecontext.h"
#include "deviceoutcome/status.h"
#include "deviceoutcome/outcometext.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class AppServices;
class QWidget;
class TForm2;

// What a run needs of the program around it.
struct DeviceRunServices {
    QWidget *parent = nullptr; // parent and centre of the exchange dialog
    deviceoutcome::Texts texts; // messages and own texts, in the program's language
    SectionTexts exchangeTexts; // the exchange dialog's section
    MessageFn show; // a modal message box
    std::function<void(const QString &)> setStatus; // the status line
    std::function<void(bool held)> holdStatus; // its clearing timer
    std::function<void()> restoreCaption; // the window caption after a run
};

// Fits a dialog to its contents and centres it on the screen of `window`
// (its own screen without one).
void centreOnScreen(QWidget &dialog, const QWidget *window);

// The services of a run taken from the application's, in the language set
// now.
DeviceRunServices deviceRunServices(const AppServices &app, const SectionTexts &exchangeTexts);

class DeviceRun {
public:
    // `modal`: nothing but the exchange dialog takes input meanwhile.
    DeviceRun(DeviceRunServices services, const device::Connection &connection, int startMessage, bool modal);
    ~DeviceRun();
    DeviceRun(const DeviceRun &) = delete;
    DeviceRun &operator=(const DeviceRun &) = delete;

    TForm2 &form() const { return *m_form; }
    device::ExchangeContext &context() { return m_context; }
    // Progress of the worker thread into the window thread; its onProgress
    // shows it in the dialog (a caller may widen that).
    ProgressRelay &relay() { return m_relay; }
    const device::LinkMaker &linkMaker() const { return m_makeLink; }
    const deviceoutcome::Texts &texts() const { return m_services.texts; }

    // Asks the run to stop (the dialog's cancel button does the same); the
    // serial answer reading takes it up.
    void requestCancel() { m_cancel = true; }
    void clearCancel() { m_cancel = false; }

    // Runs `work` on a worker thread, the dialog following its progress.
    device::Status runOffThread(const std::function<device::Status()> &work);

    // Closes the dialog, gives the caption back and shows the error box of
    // the status if it has one. Returns the status line of a failure; empty
    // for Ok.
    QString close(device::Status status);
    // Shows a text in the status line.
    void setStatus(const QString &text) const;
    // Lets the status line's timer run again (once; the destructor does it
    // when nobody has).
    void releaseStatus();

    // close(), the status line (`successText` for Ok) and releaseStatus().
    void finish(device::Status status, const QString &successText);

private:
    DeviceRunServices m_services;
    device::Connection m_connection;
    std::atomic<bool> m_cancel{false};
    std::unique_ptr<TForm2> m_form;
    device::ExchangeContext m_context;
    ProgressRelay m_relay;
    device::LinkMaker m_makeLink;
    bool m_holding = false;
};
