// vardosk-screenshots: pictures of the program's windows for the user
// manuals. Opens the main window of a program folder prepared beforehand
// (stored verifications below its Data/ folder), in English or Russian,
// talking to an instrument (or its emulator) on a serial device, and saves
// every window the manuals show as images/<name>-<language>.png.
//
//   vardosk-screenshots --program-folder DIR --strings DataStrings.xml
//       --port DEVICE --language en|ru --out DIR --folder NAME
//       --meter-database FILE.bdc --find-serial DIGITS --protocol-title TEXT
// The meters of the folder shown are merged first, one file per meter.
#include "scenes.h"

#include "base/platform.h"
#include "base/ui/passworddialogs.h"
#include "mainwindow/korvelform.h"
#include "records/recordops.h"
#include "records/recordstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {

// A reading stores every verification in a file of its own; in a workshop
// the files of one meter are merged. Merges the files of each meter of the
// folder into the first of them, as the program's "Merge" does.
void mergeMetersIn(const QString &folder)
{
    const QVector<ListedMeter> meters = ScanFolder(folder, 1);
    QVector<int> kept;
    for (int i = 0; i < meters.size(); ++i) {
        int target = -1;
        for (int k : kept) {
            if (AreMergeable(meters[i], meters[k])) {
                target = k;
                break;
            }
        }
        if (target < 0) {
            kept << i;
            continue;
        }
        const MergeOutcome outcome =
            MergeMeterFiles(folder + meters[i].fileName, folder + meters[target].fileName, true);
        if (outcome.result != MergeResult::Merged)
            std::fprintf(stderr, "vardosk-screenshots: %s not merged\n", qPrintable(meters[i].fileName));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    platform::preferProportionalUiFont(); // as the program does
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("Tessmer"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QStringList names = {
        QStringLiteral("program-folder"), QStringLiteral("strings"),     QStringLiteral("port"),
        QStringLiteral("language"),       QStringLiteral("out"),         QStringLiteral("folder"),
        QStringLiteral("meter-database"), QStringLiteral("find-serial"), QStringLiteral("protocol-title")};
    for (const QString &name : names)
        parser.addOption(QCommandLineOption(name, name, QStringLiteral("VALUE")));
    parser.process(app);
    for (const QString &name : names) {
        if (!parser.isSet(name)) {
            std::fprintf(stderr, "vardosk-screenshots: --%s is missing\n", qPrintable(name));
            return 2;
        }
    }
    const QString language = parser.value(QStringLiteral("language"));
    if (language != QLatin1String("en") && language != QLatin1String("ru")) {
        std::fprintf(stderr, "vardosk-screenshots: --language must be en or ru\n");
        return 2;
    }

    StartupPaths paths;
    paths.programFolder = QDir(parser.value(QStringLiteral("program-folder"))).absolutePath() + QLatin1Char('/');
    paths.dataFolder = paths.programFolder + QStringLiteral("Data/");
    paths.configPath = paths.programFolder + QStringLiteral("config.cfg");
    paths.stringsPath = parser.value(QStringLiteral("strings"));
    paths.runPortPath = parser.value(QStringLiteral("port"));

    mergeMetersIn(paths.dataFolder + parser.value(QStringLiteral("folder")) + QLatin1Char('/'));

    // Message boxes would stop the run: they are printed instead.
    int messages = 0;
    TKorvelForm form(paths, [&messages](MessageKind, const QString &text) {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    });
    if (!form.FormCreate()) {
        std::fprintf(stderr, "vardosk-screenshots: %s\n", qPrintable(form.fatalMessage()));
        return 1;
    }
    form.resize(1000, 680);
    form.show();
    if (!form.FormActivate()) {
        std::fprintf(stderr, "vardosk-screenshots: %s\n", qPrintable(form.fatalMessage()));
        return 1;
    }
    if (language == QLatin1String("ru"))
        form.action(Command::RussianLanguage)->trigger();
    else
        form.action(Command::EnglishLanguage)->trigger();

    SceneInputs inputs;
    inputs.outFolder = parser.value(QStringLiteral("out"));
    inputs.suffix = language;
    inputs.folder = parser.value(QStringLiteral("folder"));
    inputs.meterDatabase = parser.value(QStringLiteral("meter-database"));
    inputs.findSerial = parser.value(QStringLiteral("find-serial"));
    inputs.protocolTitle = parser.value(QStringLiteral("protocol-title"));
    ScreenshotScenes scenes(form, inputs);
    scenes.runAll();
    if (!scenes.failures().isEmpty()) {
        std::fprintf(stderr, "vardosk-screenshots: not taken: %s\n",
                     qPrintable(scenes.failures().join(QStringLiteral(", "))));
        return 1;
    }
    return 0;
}
