// bench-window MODE FOLDER
//
//   make FOLDER     writes three program folders below FOLDER: "start" (a
//                   data folder of 1,000 folders, the last of which holds
//                   1,000 meters), "empty" (an empty data folder) and
//                   "switch" (a data folder with the folder "big" of 10,000
//                   meters).
//   bare FOLDER     shows a bare QMainWindow of the main window's default
//                   size and waits until it is on the screen and idle.
//   window FOLDER   starts the main window on FOLDER/start as the program
//                   does (construction, settings, strings, folder tree,
//                   shown, first activation), selects the last folder of the
//                   tree, and waits until it is on the screen and idle with
//                   the folder's meters listed. Exit status 1 when the list
//                   does not hold 1,000 meters.
//   empty FOLDER    starts the main window the same way on FOLDER/empty and
//                   waits until it is on the screen and idle: the window's
//                   own cost, without folders or meters to read.
//   switch FOLDER   in one process, with the main window started on
//                   FOLDER/switch: selects "big" in the tree and waits until
//                   the list is filled and the window idle, then scans the
//                   same folder alone; in turn, several rounds; prints the
//                   medians and their ratio as "ratio folder-switch X".
//
// "bare" and "window" are the two sides of the start-up pair that bench/run
// times as whole processes, run after run in turn: one program, so that
// both load the same libraries. "window" next to "empty" shows what the
// folders and meters add to the window itself.
#include "benchdata.h"
#include "mainwindow/korvelform.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "views/ui/recordviews.h"
#include "views/ui/recordlistviews.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTextStream>
#include <QWindow>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace {

constexpr int kFolders = 1000;
constexpr int kStartMeters = 1000;
constexpr int kSwitchMeters = 10000;
constexpr int kSwitchRounds = 5;

StartupPaths pathsIn(const QString &programFolder)
{
    StartupPaths p;
    p.programFolder = programFolder + QLatin1Char('/');
    p.dataFolder = p.programFolder + QStringLiteral("Data/");
    p.configPath = p.programFolder + QStringLiteral("config.cfg");
    p.stringsPath = QCoreApplication::applicationDirPath() + QStringLiteral("/DataStrings.xml");
    return p;
}

QString folderName(int k)
{
    return QStringLiteral("f%1").arg(k, 4, 10, QLatin1Char('0'));
}

int make(const QString &folder)
{
    const QString startData = folder + QStringLiteral("/start/Data");
    for (int k = 0; k < kFolders; ++k) {
        if (!QDir().mkpath(startData + QLatin1Char('/') + folderName(k)))
            return 1;
    }
    if (bench::writeMeterFolder(startData + QLatin1Char('/') + folderName(kFolders - 1), kStartMeters) < 0)
        return 1;
    if (!QDir().mkpath(folder + QStringLiteral("/empty/Data")))
        return 1;
    if (bench::writeMeterFolder(folder + QStringLiteral("/switch/Data/big"), kSwitchMeters) < 0)
        return 1;
    return 0;
}

// Handles the events waiting (paint, layout, posted work).
void waitIdle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Waits until the window is on the screen, then until the events it caused
// (paint, layout, posted work) are handled.
void waitShownAndIdle(QWidget &w)
{
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    waitIdle();
}

int bare()
{
    QMainWindow w;
    w.resize(1000, 760); // the main window's default size
    w.show();
    waitShownAndIdle(w);
    return 0;
}

// The program's start-up (see src/app/main.cpp) without its single-copy claim.
std::unique_ptr<TKorvelForm> startWindow(const QString &programFolder)
{
    auto form = std::make_unique<TKorvelForm>(pathsIn(programFolder), [](MessageKind, const QString &text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    });
    if (!form->FormCreate())
        return nullptr;
    form->show();
    if (!form->FormActivate())
        return nullptr;
    return form;
}

int window(const QString &folder)
{
    std::unique_ptr<TKorvelForm> form = startWindow(folder + QStringLiteral("/start"));
    if (!form)
        return 1;
    form->folderPanel()->selectFolder(form->store().rootFolder() + QLatin1Char('/') + folderName(kFolders - 1));
    waitShownAndIdle(*form);
    const bool listed = form->views()->titleList()->model()->rowCount() == kStartMeters;
    form.release(); // the process ends at once, as the bare side does, without tearing the window down
    return listed ? 0 : 1;
}

int emptyWindow(const QString &folder)
{
    std::unique_ptr<TKorvelForm> form = startWindow(folder + QStringLiteral("/empty"));
    if (!form)
        return 1;
    waitShownAndIdle(*form);
    const bool empty = form->views()->titleList()->model()->rowCount() == 0;
    form.release(); // as in window(): the process ends without tearing the window down
    return empty ? 0 : 1;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int folderSwitch(const QString &folder)
{
    std::unique_ptr<TKorvelForm> form = startWindow(folder + QStringLiteral("/switch"));
    if (!form)
        return 1;
    waitShownAndIdle(*form);
    const QString root = form->store().rootFolder();
    const QString big = root + QStringLiteral("/big");
    QTextStream out(stdout);
    QVector<double> switchMs, scanMs;
    for (int r = 0; r < kSwitchRounds; ++r) {
        QElapsedTimer t;
        t.start();
        form->folderPanel()->selectFolder(big);
        waitIdle();
        switchMs.append(t.nsecsElapsed() / 1e6);
        if (form->views()->titleList()->model()->rowCount() != kSwitchMeters) {
            out << "the list does not hold the folder's meters\n";
            return 1;
        }
        form->folderPanel()->selectFolder(root); // the empty data folder
        waitIdle();

        t.start();
        const QVector<pcn::_totalblockdata> meters = ScanFolder(big);
        scanMs.append(t.nsecsElapsed() / 1e6);
    }
    const double sw = median(switchMs), scan = median(scanMs);
    out << "folder switch to " << kSwitchMeters << " meters: " << QString::number(sw, 'f', 1)
        << " ms; scan alone: " << QString::number(scan, 'f', 1) << " ms (medians of " << kSwitchRounds << ")\n";
    out << "ratio folder-switch " << QString::number(sw / scan, 'f', 3) << "\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench-window make|bare|window|empty|switch FOLDER\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("make")) {
        QCoreApplication app(argc, argv);
        return make(folder);
    }
    QApplication app(argc, argv);
    // Both start-up sides end the moment they are shown and idle: what the
    // user waits for; tearing down is not part of it.
    const auto endNow = [](int status) {
        std::fflush(nullptr);
        ::_exit(status);
        return status;
    };
    if (mode == QLatin1String("bare"))
        return endNow(bare());
    if (mode == QLatin1String("window"))
        return endNow(window(folder));
    if (mode == QLatin1String("empty"))
        return endNow(emptyWindow(folder));
    if (mode == QLatin1String("switch"))
        return folderSwitch(folder);
    std::fprintf(stderr, "unknown mode %s\n", qPrintable(mode));
    return 2;
}
