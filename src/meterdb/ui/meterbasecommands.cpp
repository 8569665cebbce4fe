#include "meterbasecommands.h"

#include "bdform.h"
#include "meterbasedevicerun.h"

#include "device/ftdiapi.h"
#include "device/resultcodes.h"

MeterBaseCommands::MeterBaseCommands(const MeterBaseServices &services, QObject *parent)
    : QObject(parent), m_services(services)
{
    m_form = new TBdForm(m_services, m_services.parent);
}

MeterBaseCommands::~MeterBaseCommands() = default;

void MeterBaseCommands::applyStrings(const SectionTexts &texts)
{
    m_form->applyStrings(texts);
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
    m_form->exec();
}

void MeterBaseCommands::CreateNewBaseExecute()
{
    m_form->setConnection(connection());
    m_form->StartEmpty();
    open();
}

void MeterBaseCommands::LoadBaseFromFileExecute()
{
    m_form->setConnection(connection());
    m_form->StartEmpty();
    if (m_form->LoadBaseFromFile())
        open();
}

void MeterBaseCommands::LoadBaseFromDeviceExecute()
{
    const device::Connection c = connection();
    meterdb::MeterList entries;
    const int rc = MeterBaseDeviceRun(m_services).read(c, entries);
    if (rc != device::ResultOk)
        return;
    m_form->setConnection(c);
    m_form->StartWithDeviceEntries(entries);
    open();
}
