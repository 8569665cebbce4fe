// The main window's meter database commands ("База поверяемых средств"):
// CreateNewBase opens the editor with an empty list, LoadBaseFromFile with
// the entries of a file the user picks, LoadBaseFromDevice with the ten
// entries read from the instrument. The editor is created once and opened
// modally; it gets a copy of the connection of the settings each time.
#pragma once

#include "meterbaseservices.h"

#include <QObject>

#include <memory>

class TBdForm;

namespace device {
class FtdiApi;
}

class MeterBaseCommands final : public QObject {
    Q_OBJECT
public:
    MeterBaseCommands(const MeterBaseServices &services, QObject *parent);
    ~MeterBaseCommands() override;
    MeterBaseCommands(const MeterBaseCommands &) = delete;
    MeterBaseCommands &operator=(const MeterBaseCommands &) = delete;

    TBdForm *form() const { return m_form; }
    // The editor's captions (section "MeterDatabaseForm").
    void applyStrings(const SectionTexts &texts);

    void CreateNewBaseExecute();
    void LoadBaseFromFileExecute();
    void LoadBaseFromDeviceExecute();

private:
    device::Connection connection();
    void open();

    MeterBaseServices m_services;
    TBdForm *m_form = nullptr;
    std::shared_ptr<device::FtdiApi> m_ftdi; // loaded on the first USB transfer, kept
};
