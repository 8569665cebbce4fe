// A main window of a program installed in a temporary folder, English, with
// its device commands: the fixture of the window tests that read the archive
// from the emulator.
#pragma once

#include "device/portchoice.h"
#include "device/ui/contentform.h"
#include "device/ui/devicecommands.h"
#include "mainwindow/korvelform.h"
#include "dialogwidgets.h"
#include "mainwindowfixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

namespace sessiontest {

struct DeviceWindow : testsupport::MainWindowFixture {
    DeviceCommands *commands = nullptr;

    bool open()
    {
        if (!MainWindowFixture::open())
            return false;
        commands = form->findChild<DeviceCommands *>(QStringLiteral("DeviceCommands"));
        return commands != nullptr;
    }
    // Serial port: the emulator's terminal, kept as a typed device path.
    void useSerial(const QString &path)
    {
        form->services().settings().setConnection(InterfaceSerial, form->services().settings().values().portIndex,
                                                  form->services().settings().values().rateIndex);
        device::storeTypedPortPath(path);
    }
    QString status() const { return form->findChild<QLabel *>(QStringLiteral("MessagePanel"))->text(); }
    void read() { form->action(Command::ReadArchive)->trigger(); }
    // Reads with every verification of the content ticked.
    void readEverything();
};

// Runs `step` inside the content dialog's own event loop once it shows.
inline void whenContentShown(DeviceWindow &w, std::function<void(TContForm &)> step)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(w.commands, &DeviceCommands::contentDialogShown, w.commands, [&w, step, connection] {
        QObject::disconnect(*connection);
        QTimer::singleShot(0, w.commands, [&w, step] {
            TContForm &f = *w.commands->contentForm();
            step(f);
            // A failed check inside the step must not leave the dialog open.
            if (f.isVisible())
                f.reject();
        });
    });
}

inline void DeviceWindow::readEverything()
{
    whenContentShown(*this, [](TContForm &f) {
        testsupport::child<QPushButton>(f, "AllCalibrationButton")->click();
        testsupport::child<QPushButton>(f, "ReadCalibrationButton")->click();
    });
    read();
}

} // namespace sessiontest
