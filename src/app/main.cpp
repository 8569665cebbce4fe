// The program's entry: one running copy per user, the main window with its
// settings and texts, then the event loop until the window closes.
#include "base/platform.h"
#include "base/singleinstance.h"
#include "mainwindow/korvelform.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("Tessmer"));

    SingleInstance instance(SingleInstance::defaultName());
    if (!instance.claim())
        return 0; // the running copy has been brought to the front

    QApplication::setApplicationDisplayName(QStringLiteral("Вардоск средств измерений"));

    TKorvelForm window(StartupPaths::forProgramFolder(platform::programFolder()));
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &TKorvelForm::bringToFront);

    auto fatal = [&window] {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), window.fatalMessage());
        return 1;
    };
    if (!window.FormCreate())
        return fatal();
    window.show();
    if (!window.FormActivate())
        return fatal();
    return app.exec();
}
