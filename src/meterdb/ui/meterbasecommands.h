// The main window's meter database commands ("База поверяемых средств"):
// CreateNewBase opens the editor with an empty list, LoadBaseFromFile with
// the entries of a file the user picks, LoadBaseFromDevice with the ten
// entries read from the instrument. The editor is created once and opened
// modally; it gets a copy of the connection of the settings each time.
// It is wired like every controller (services, record store, record views);
// of them it uses the services (texts, messages, password, settings, status
// line) alone.
#pragma once

#include "meterbaseservices.h"

#include <QObject>

#include <memory>
#include <optional>

class AppServices;
class RecordStore;
class RecordViews;
class TBdForm;

namespace device {
class FtdiApi;
}

class MeterBaseCommands final : public QObject {
    Q_OBJECT
public:
    MeterBaseCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);
    ~MeterBaseCommands() override;
    MeterBaseCommands(const MeterBaseCommands &) = delete;
    MeterBaseCommands &operator=(const MeterBaseCommands &) = delete;

    // The editor, made on first use with the texts last applied to its
    // section.
    TBdForm *form();
    // What the editor and the transfers are given, made from the services.
    static MeterBaseServices servicesFrom(AppServices &app, std::shared_ptr<SectionTexts> exchangeTexts);

    void CreateNewBaseExecute();
    void LoadBaseFromFileExecute();
    void LoadBaseFromDeviceExecute();

private:
    device::Connection connection();
    void open();

    std::shared_ptr<SectionTexts> m_exchangeTexts = std::make_shared<SectionTexts>();
    MeterBaseServices m_services;
    [[maybe_unused]] RecordStore &m_store;
    [[maybe_unused]] RecordViews &m_views;
    TBdForm *m_form = nullptr;
    std::optional<SectionTexts> m_formTexts;
    std::shared_ptr<device::FtdiApi> m_ftdi; // loaded on the first USB transfer, kept
};
