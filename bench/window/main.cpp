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
//   floor FOLDER    "empty", then reads the bytes of the 1,000 meter files
//                   of FOLDER/start's last folder on two threads, doing
//                   nothing with them: what no window that lists those
//                   meters can go below.
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

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStyle>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextStream>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>

#include <unistd.h>

namespace {

constexpr int kFolders = 1000;
constexpr int kStartMeters = 1000;
constexpr int kSwitchMeters = 100000; // the default; "make" takes another count
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

int make(const QString &folder, int switchMeters)
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
    if (bench::writeMeterFolder(folder + QStringLiteral("/switch/Data/big"), switchMeters) < 0)
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

// The yardstick of the start-up: a plain Qt window that shows what the main
// window shows on the 1,000 folders, with texts made in memory instead of
// read: a menu bar of the same menus with as many actions, a tool bar of as
// many buttons, the folder tree with 1,000 folders below its root, the meter
// list with 1,000 rows of 7 columns fitted to their texts, the power list
// (1 row of 6 columns), an empty grid of 12 rows and 17 columns and the
// status bar ("describe" prints the main window's counts).
QMenu *addMenu(QWidget *parent, QMenuBar *bar, QMenu *into, const QString &title, int actions)
{
    QMenu *menu = into ? into->addMenu(title) : bar->addMenu(title);
    for (int k = 0; k < actions; ++k)
        menu->addAction(QStringLiteral("%1 command %2...").arg(title).arg(k + 1));
    Q_UNUSED(parent);
    return menu;
}

int yardstick()
{
    QMainWindow w;
    w.resize(1000, 760);
    QMenuBar *bar = w.menuBar();
    addMenu(&w, bar, nullptr, QStringLiteral("File"), 6);
    QMenu *utilities = addMenu(&w, bar, nullptr, QStringLiteral("Utilities"), 2);
    addMenu(&w, bar, utilities, QStringLiteral("'Devices under test' database"), 3);
    QMenu *settings = addMenu(&w, bar, nullptr, QStringLiteral("Settings"), 4);
    addMenu(&w, bar, settings, QStringLiteral("Language"), 2);
    addMenu(&w, bar, nullptr, QStringLiteral("?"), 2);

    QToolBar *tools = w.addToolBar(QStringLiteral("Tools"));
    tools->setIconSize(QSize(24, 24));
    const QStyle::StandardPixmap glyphs[8] = {QStyle::SP_DialogOpenButton,
                                              QStyle::SP_DialogSaveButton,
                                              QStyle::SP_FileDialogDetailedView,
                                              QStyle::SP_BrowserReload,
                                              QStyle::SP_FileDialogContentsView,
                                              QStyle::SP_DialogApplyButton,
                                              QStyle::SP_ArrowUp,
                                              QStyle::SP_ArrowDown};
    for (int k = 0; k < 8; ++k)
        tools->addAction(w.style()->standardIcon(glyphs[k]), QStringLiteral("Tool %1").arg(k + 1));

    auto *across = new QSplitter(Qt::Horizontal);
    auto *tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);
    auto *root = new QTreeWidgetItem(QStringList{QStringLiteral("Data")});
    QList<QTreeWidgetItem *> folders;
    folders.reserve(kFolders);
    for (int k = 0; k < kFolders; ++k)
        folders.append(new QTreeWidgetItem(QStringList{folderName(k)}));
    root->addChildren(folders);
    tree->addTopLevelItem(root);
    root->setExpanded(true);
    across->addWidget(tree);

    auto *down = new QSplitter(Qt::Vertical);
    auto *list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels({QStringLiteral("Device type"), QStringLiteral("Serial number"),
                           QStringLiteral("Accuracy class"), QStringLiteral("Circuit connection"),
                           QStringLiteral("Year of release"), QStringLiteral("I1, A / I2, A / Turns ratio"),
                           QStringLiteral("Reference standard")});
    QList<QTreeWidgetItem *> rows;
    rows.reserve(kStartMeters);
    for (int i = 0; i < kStartMeters; ++i) {
        rows.append(new QTreeWidgetItem(QStringList{QStringLiteral("CE301 %1").arg(i % 50), QString::number(100000 + i),
                                                    QStringLiteral("1"), QStringLiteral("3 phase, 4 wire"),
                                                    QStringLiteral("2008"), QStringLiteral("1  /  1  /  1"),
                                                    QStringLiteral("QS %1").arg(77 + i % 3)}));
    }
    list->addTopLevelItems(rows);
    for (int c = 0; c < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
    list->setCurrentItem(rows.first());
    down->addWidget(list);

    auto *powers = new QTreeWidget;
    powers->setRootIsDecorated(false);
    powers->setHeaderLabels({QStringLiteral("Energy"), QStringLiteral("Date"), QStringLiteral("Time"),
                             QStringLiteral("Points"), QStringLiteral("Verdict"), QStringLiteral("Operator")});
    powers->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("Active, import"),
                                                            QStringLiteral("18.05.2009"), QStringLiteral("12:30:00"),
                                                            QStringLiteral("7"), QStringLiteral("Fit"), QString()}));
    down->addWidget(powers);

    auto *grid = new QTableWidget(12, 17);
    for (int c = 0; c < 17; ++c)
        grid->setHorizontalHeaderItem(c, new QTableWidgetItem(QStringLiteral("Value %1").arg(c + 1)));
    for (int r = 0; r < 12; ++r)
        grid->setVerticalHeaderItem(r, new QTableWidgetItem(QStringLiteral("Point %1").arg(r + 1)));
    down->addWidget(grid);
    across->addWidget(down);
    across->setSizes({186, 800});
    w.setCentralWidget(across);
    w.statusBar()->showMessage(QStringLiteral("1000 meters in Data/%1").arg(folderName(kFolders - 1)));

    w.show();
    tree->setCurrentItem(folders.last());
    waitShownAndIdle(w);
    if (const QByteArray grab = qgetenv("BENCH_GRAB"); !grab.isEmpty())
        w.grab().save(QString::fromLocal8Bit(grab));
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

int emptyWindowThenFiles(const QString &folder)
{
    std::unique_ptr<TKorvelForm> form = startWindow(folder + QStringLiteral("/empty"));
    if (!form)
        return 1;
    waitShownAndIdle(*form);
    const QString dir = folder + QStringLiteral("/start/Data/") + folderName(kFolders - 1);
    const QStringList names = QDir(dir).entryList({QStringLiteral("*.pcn")}, QDir::Files);
    std::atomic<int> next{0};
    std::atomic<qint64> bytes{0};
    const auto read = [&] {
        for (int i = next++; i < names.size(); i = next++) {
            QFile file(dir + QLatin1Char('/') + names.at(i));
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
    };
    std::thread other(read);
    read();
    other.join();
    form.release(); // as in window()
    return names.size() == kStartMeters && bytes > 0 ? 0 : 1;
}

// The resident size of the process in kB (VmRSS); -1 when unknown.
long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toLong();
    }
    return -1;
}

// The main window started on FOLDER/switch with "big" selected, or on
// FOLDER/empty, shown and idle: prints its resident size and rows listed.
int resident(const QString &folder, bool big)
{
    std::unique_ptr<TKorvelForm> form =
        startWindow(folder + (big ? QStringLiteral("/switch") : QStringLiteral("/empty")));
    if (!form)
        return 1;
    if (big)
        form->folderPanel()->selectFolder(form->store().rootFolder() + QStringLiteral("/big"));
    waitShownAndIdle(*form);
    const int rows = form->views()->titleList()->model()->rowCount();
    QTextStream(stdout) << "resident " << residentKb() << " kB, " << rows << " meters listed\n";
    form.release();
    return big == (rows > 0) ? 0 : 1;
}

// The menus of a menu bar or menu, one line each: its title and the
// number of its actions (separators included), then its sub-menus indented.
void describeMenu(QTextStream &out, const QList<QAction *> &actions, int depth)
{
    for (QAction *a : actions) {
        if (QMenu *menu = a->menu()) {
            out << QString(depth * 2, QLatin1Char(' ')) << "menu \"" << a->text() << "\" " << menu->actions().size()
                << " actions\n";
            describeMenu(out, menu->actions(), depth + 1);
        }
    }
}

// What the window shows, for building the yardstick window alike: menus,
// tool bars, and every item view with its rows and columns.
int describe(const QString &folder)
{
    std::unique_ptr<TKorvelForm> form = startWindow(folder + QStringLiteral("/start"));
    if (!form)
        return 1;
    form->folderPanel()->selectFolder(form->store().rootFolder() + QLatin1Char('/') + folderName(kFolders - 1));
    waitShownAndIdle(*form);
    QTextStream out(stdout);
    out << "window " << form->width() << "x" << form->height() << "\n";
    describeMenu(out, form->menuBar()->actions(), 0);
    for (QToolBar *bar : form->findChildren<QToolBar *>())
        out << "tool bar \"" << bar->objectName() << "\" " << bar->actions().size() << " actions, visible "
            << bar->isVisible() << "\n";
    for (QAbstractItemView *view : form->findChildren<QAbstractItemView *>()) {
        if (!view->isVisible() || !view->model())
            continue;
        out << "view " << view->metaObject()->className() << " rows " << view->model()->rowCount() << " columns "
            << view->model()->columnCount() << " size " << view->width() << "x" << view->height() << "\n";
    }
    out << "status bar visible " << form->statusBar()->isVisible() << "\n";
    if (const QByteArray grab = qgetenv("BENCH_GRAB"); !grab.isEmpty())
        form->grab().save(QString::fromLocal8Bit(grab));
    out.flush();
    form.release();
    return 0;
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
    qsizetype meters = ListRecordFiles(big).size();
    for (int r = 0; r < kSwitchRounds; ++r) {
        QElapsedTimer t;
        t.start();
        form->folderPanel()->selectFolder(big);
        waitIdle();
        switchMs.append(t.nsecsElapsed() / 1e6);
        if (form->views()->titleList()->model()->rowCount() != meters) {
            out << "the list does not hold the folder's meters\n";
            return 1;
        }
        form->folderPanel()->selectFolder(root); // the empty data folder
        waitIdle();

        t.start();
        meters = ScanFolder(big).size();
        scanMs.append(t.nsecsElapsed() / 1e6);
    }
    const double sw = median(switchMs), scan = median(scanMs);
    out << "folder switch to " << meters << " meters: " << QString::number(sw, 'f', 1)
        << " ms; scan alone: " << QString::number(scan, 'f', 1) << " ms (medians of " << kSwitchRounds << ")\n";
    out << "ratio folder-switch " << QString::number(sw / scan, 'f', 3) << "\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && !(argc == 4 && argv[1] == std::string_view("make"))) {
        std::fprintf(
            stderr, "usage: bench-window make FOLDER [METERS]\n"
                    "       bench-window bare|yardstick|window|empty|switch|resident|resident-empty|describe FOLDER\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("make")) {
        QCoreApplication app(argc, argv);
        return make(folder, argc == 4 ? std::max(1, std::atoi(argv[3])) : kSwitchMeters);
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
    if (mode == QLatin1String("yardstick"))
        return endNow(yardstick());
    if (mode == QLatin1String("window"))
        return endNow(window(folder));
    if (mode == QLatin1String("empty"))
        return endNow(emptyWindow(folder));
    if (mode == QLatin1String("floor"))
        return endNow(emptyWindowThenFiles(folder));
    if (mode == QLatin1String("switch"))
        return folderSwitch(folder);
    if (mode == QLatin1String("describe"))
        return endNow(describe(folder));
    if (mode == QLatin1String("resident") || mode == QLatin1String("resident-empty"))
        return endNow(resident(folder, mode == QLatin1String("resident")));
    std::fprintf(stderr, "unknown mode %s\n", qPrintable(mode));
    return 2;
}
