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
    s.parent = app.window();
    s.language = [&app] { return app.language(); };
    s.message = [&app](int n) { return app.message(n); };
    s.exchangeTexts = [exchangeTexts] { return *exchangeTexts; };
    s.show = app.messageFn();
    s.confirm = [&app](const QString &question) {
        QWidget *over = QApplication::activeWindow() ? QApplication::activeWindow() : app.window();
        return QMessageBox::question(over, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    s.askPassword = [&app] { return app.passwordAccepted(); };
    s.connection = [&app] { return device::connectionFor(app.settings().values()); };
    s.setStatus = [&app](const QString &text) { app.showStatus(text); };
    s.stopStatusTimer = [&app] { app.holdStatus(true); };
    s.startStatusTimer = [&app] { app.holdStatus(false); };
    s.restoreCaption = [&app] { app.restoreCaption(); };
    return s;
}

MeterBaseCommands::MeterBaseCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent)
    : QObject(parent), m_services(servicesFrom(services, m_exchangeTexts)), m_store(store), m_views(views)
{
    connect(&services.texts(), &TextCatalogue::sectionApplied, this,
            [this](const QString &section, const SectionTexts &texts) {
                if (section == QLatin1String("MeterDatabaseForm")) {
                    m_formTexts = texts;
                    if (m_form)
                        m_form->applyStrings(texts);
                } else if (section == QLatin1String("ExchangeForm")) {
                    *m_exchangeTexts = texts;
                }
            });
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
