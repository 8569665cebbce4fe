#include "meterbasecommands.h"

#include "bdform.h"
#include "meterbasedevicerun.h"

#include "base/ui/appservices.h"
#include "device/ftdiapi.h"
#include "deviceoutcome/status.h"

#include <QApplication>
#include <QMessageBox>

MeterBaseServices MeterBaseCommands::servicesFrom(AppServices &app, std::shared_ptr<SectionTexts> exchangeTexts)
{
    MeterBaseServices s;
    s.parent = app.window;
    s.language = [&app] { return app.language(); };
    s.message = [&app](int n) { return app.message(n); };
    s.exchangeTexts = [exchangeTexts] { return *exchangeTexts; };
    s.show = [&app](MessageKind kind, const QString &text) { app.show(kind, text); };
    s.confirm = [&app](const QString &question) {
        QWidget *over = QApplication::activeWindow() ? QApplication::activeWindow() : app.window.data();
        return QMessageBox::question(over, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    s.askPassword = [&app] { return app.passwordAccepted(); };
    s.connection = [&app] { return device::connectionFor(app.settings ? *app.settings : AppSettings()); };
    s.setStatus = [&app](const QString &text) {
        if (app.showStatus)
            app.showStatus(text);
    };
    s.stopStatusTimer = [&app] {
        if (app.holdStatus)
            app.holdStatus(true);
    };
    s.startStatusTimer = [&app] {
        if (app.holdStatus)
            app.holdStatus(false);
    };
    s.restoreCaption = [&app] { app.restoreCaption(); };
    return s;
}

MeterBaseCommands::MeterBaseCommands(AppServices &app, QObject *parent)
    : QObject(parent), m_services(servicesFrom(app, m_exchangeTexts))
{
    if (app.addSectionTexts) {
        app.addSectionTexts(QStringLiteral("MeterDatabaseForm"), [this](const SectionTexts &texts) {
            m_formTexts = texts;
            if (m_form)
                m_form->applyStrings(texts);
        });
        app.addSectionTexts(QStringLiteral("ExchangeForm"),
                            [this](const SectionTexts &texts) { *m_exchangeTexts = texts; });
    }
}

MeterBaseCommands::~MeterBaseCommands() = default;

TBdForm *MeterBaseCommands::form()
{
    if (!m_form) {
        m_form = new TBdForm(m_services, m_services.parent);
        if (m_formTexts)
            m_form->applyStrings(*m_formTexts);
    }
    return m_form;
}

device::Connection MeterBaseCommands::connection()
{
    device::Connection c = m_services.connection ? m_services.connection() : device::Connection{};
    if (c.usb && !c.ftdi) {
        if (!m_ftdi)
            m_ftdi = device::makeLibFtdiApi();
        c.ftdi = m_ftdi;
    }
    return c;
}

void MeterBaseCommands::open()
{
    form()->exec();
}

void MeterBaseCommands::CreateNewBaseExecute()
{
    form()->setConnection(connection());
    m_form->StartEmpty();
    open();
}

void MeterBaseCommands::LoadBaseFromFileExecute()
{
    form()->setConnection(connection());
    m_form->StartEmpty();
    if (m_form->LoadBaseFromFile())
        open();
}

void MeterBaseCommands::LoadBaseFromDeviceExecute()
{
    const device::Connection c = connection();
    meterdb::MeterList entries;
    const device::Status rc = MeterBaseDeviceRun(m_services).read(c, entries);
    if (rc != device::Status::Ok)
        return;
    form()->setConnection(c);
    m_form->StartWithDeviceEntries(entries);
    open();
}
