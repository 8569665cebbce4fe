#include "devicerun.h"

#include "exchangeform.h"

#include "base/ui/appservices.h"

#include <QApplication>
#include <QScreen>

void centreOnScreen(QWidget &dialog, const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : dialog.screen();
    if (!screen)
        return;
    dialog.adjustSize();
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

DeviceRunServices deviceRunServices(const AppServices &app, const SectionTexts &exchangeTexts)
{
    DeviceRunServices s;
    s.parent = app.window();
    s.texts = {[&app](int n) { return app.message(n); }, app.language()};
    s.exchangeTexts = exchangeTexts;
    s.show = app.messageFn();
    s.setStatus = [&app](const QString &text) { app.showStatus(text); };
    s.holdStatus = [&app](bool held) { app.holdStatus(held); };
    s.restoreCaption = [&app] { app.restoreCaption(); };
    return s;
}

DeviceRun::DeviceRun(DeviceRunServices services, const device::Connection &connection, int startMessage, bool modal)
    : m_services(std::move(services)), m_connection(connection)
{
    if (m_services.texts.message)
        setStatus(m_services.texts.message(startMessage));
    if (m_services.holdStatus) {
        m_services.holdStatus(true);
        m_holding = true;
    }

    m_form = std::make_unique<TForm2>(m_services.parent);
    m_form->applyStrings(m_services.exchangeTexts);
    m_form->setConnection(connection.usb, connection.portName, connection.baudRate);
    if (modal)
        m_form->setWindowModality(Qt::ApplicationModal);
    QObject::connect(m_form.get(), &TForm2::cancelRequested, m_form.get(), [this] { requestCancel(); });
    m_form->ResetDisplay();
    centreOnScreen(*m_form, m_services.parent);
    m_form->show();

    m_context.cancel = &m_cancel;
    m_relay.onProgress = [this](qint64 current, qint64 maximum) {
        if (m_form)
            m_form->setProgress(current, maximum);
    };
    m_context.progress = [this](qint64 current, qint64 maximum) { m_relay.progress(current, maximum); };
    m_makeLink = device::makeLinkMaker(m_connection, m_context);
}

DeviceRun::~DeviceRun()
{
    releaseStatus();
}

device::Status DeviceRun::runOffThread(const std::function<device::Status()> &work)
{
    const device::Status rc = ::runOffThread(work);
    m_relay.flush();
    return rc;
}

QString DeviceRun::close(device::Status status)
{
    if (m_form) {
        m_form->hide();
        m_form.reset();
    }
    if (m_services.restoreCaption)
        m_services.restoreCaption();
    const deviceoutcome::OutcomeText text =
        deviceoutcome::outcomeText(status, m_connection.portName, m_context.portFailure, m_services.texts);
    if (!text.dialog.isEmpty() && m_services.show)
        m_services.show(MessageKind::Error, text.dialog);
    return text.status;
}

void DeviceRun::setStatus(const QString &text) const
{
    if (m_services.setStatus)
        m_services.setStatus(text);
}

void DeviceRun::releaseStatus()
{
    if (!m_holding)
        return;
    m_holding = false;
    m_services.holdStatus(false);
}

void DeviceRun::finish(device::Status status, const QString &successText)
{
    const QString failure = close(status);
    setStatus(status == device::Status::Ok ? successText : failure);
    releaseStatus();
}
