// The program's entry: the command-line options, one running copy per user,
// the main window with its settings and texts, then the event loop until the
// window closes.
#include "base/appstate.h"
#include "base/platform.h"
#include "base/singleinstance.h"
#include "mainwindow/korvelform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>

namespace {

struct ProgramOptions {
    QCommandLineParser parser;
    QCommandLineOption port{QStringList{QStringLiteral("p"), QStringLiteral("port")},
                            QStringLiteral("Talk to the instrument over serial DEVICE for this run only "
                                           "(the saved connection settings stay unchanged)."),
                            QStringLiteral("DEVICE")};
    QCommandLineOption data{QStringList{QStringLiteral("d"), QStringLiteral("data")},
                            QStringLiteral("Keep the verifications in folder DIR for this run only (a shared network "
                                           "folder, say; the chosen data folder stays unchanged)."),
                            QStringLiteral("DIR")};

    ProgramOptions()
    {
        parser.setApplicationDescription(
            QStringLiteral("Reads verifications from the reference-standard instrument and keeps them in folders."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(port);
        parser.addOption(data);
    }
};

} // namespace

int main(int argc, char **argv)
{
    ProgramOptions options;
    {
        // Help and version are answered before any window system is needed,
        // so they work on a text console too.
        QCoreApplication early(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("vardosk"));
        QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersionText));
        if (options.parser.parse(QCoreApplication::arguments())) {
            if (options.parser.isSet(QStringLiteral("help")))
                options.parser.showHelp(0);
            if (options.parser.isSet(QStringLiteral("version")))
                options.parser.showVersion();
        }
    }

    QApplication app(argc, argv);
    // The toolkit's own options (-platform, -style ...) are gone by now; any
    // other unknown option ends the program with a message.
    options.parser.process(app);
    platform::preferProportionalUiFont();
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("Tessmer"));

    SingleInstance instance(SingleInstance::defaultName());
    if (!instance.claim())
        return 0; // the running copy has been brought to the front

    QApplication::setApplicationDisplayName(QStringLiteral("Вардоск средств измерений"));

    StartupPaths paths = StartupPaths::forProgramFolder(platform::programFolder());
    paths.runPortPath = options.parser.value(options.port).trimmed();
    if (const QString data = options.parser.value(options.data).trimmed(); !data.isEmpty())
        paths.dataFolder = QDir::cleanPath(QDir(data).absolutePath()) + QLatin1Char('/');
    TKorvelForm window(paths);
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
