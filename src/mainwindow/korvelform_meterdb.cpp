// Wiring of the meter database commands (menu "База поверяемых средств")
// into the main window. The commands get only what they need: the window as
// parent, texts and messages of the current language, the password prompt,
// the connection of the settings and the status bar.
#include "korvelform.h"

#include "device/ui/devicecommands.h"
#include "meterdb/ui/meterbasecommands.h"
#include "records/ui/statusmessagetimer.h"

#include <QApplication>
#include <QMessageBox>

void TKorvelForm::wireMeterDatabaseCommands()
{
    auto exchangeTexts = std::make_shared<SectionTexts>();
    MeterBaseServices services;
    services.parent = this;
    services.language = [this] { return Language(); };
    services.message = [this](int n) { return message(n); };
    services.exchangeTexts = [exchangeTexts] { return *exchangeTexts; };
    services.show = [this](MessageKind kind, const QString &text) { showMessage(kind, text); };
    services.confirm = [this](const QString &question) {
        return QMessageBox::question(QApplication::activeWindow() ? QApplication::activeWindow() : this,
                                     QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    };
    services.askPassword = [this] { return askPassword(); };
    services.connection = [this] {
        const auto *device = findChild<DeviceCommands *>(QStringLiteral("DeviceCommands"));
        return device ? device->currentConnection() : device::Connection{};
    };
    services.setStatus = [this](const QString &text) {
        messagePanel()->setText(text);
        messagePanel()->repaint();
    };
    services.stopStatusTimer = [this] { statusTimer()->StopStatusTimer(); };
    services.startStatusTimer = [this] { statusTimer()->StartStatusTimer(); };
    services.restoreCaption = [this] {
        const QString caption = mainText(QStringLiteral("ProgramTitle"));
        setWindowTitle(caption);
        QApplication::setApplicationDisplayName(caption);
    };

    auto *commands = new MeterBaseCommands(services, this);
    commands->setObjectName(QStringLiteral("MeterBaseCommands"));
    registerSectionApplier(QStringLiteral("MeterDatabaseForm"),
                           [commands](const SectionTexts &texts) { commands->applyStrings(texts); });
    registerSectionApplier(QStringLiteral("ExchangeForm"),
                           [exchangeTexts](const SectionTexts &texts) { *exchangeTexts = texts; });
    const std::pair<const char *, void (MeterBaseCommands::*)()> items[] = {
        {"CreateBaseAction", &MeterBaseCommands::CreateNewBaseExecute},
        {"LoadBaseFromFileAction", &MeterBaseCommands::LoadBaseFromFileExecute},
        {"LoadBaseFromDeviceAction", &MeterBaseCommands::LoadBaseFromDeviceExecute},
    };
    for (const auto &[name, slot] : items) {
        QAction *item = action(QLatin1String(name));
        item->setEnabled(true);
        connect(item, &QAction::triggered, commands, slot);
    }
}
