// Meters built in memory for the record operation tests. Each test point
// carries a phase-A voltage chosen by the test, so that the order of joined
// points can be read back from a file.
#pragma once

#include "records/blockdata.h"
#include "records/meterfile.h"
#include "samplerecords.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QtTest>

#include <initializer_list>

namespace opsdata {

using testsupport::bcd;
using testsupport::setMoment;

// A three-phase four-wire active verification of meter "CE301" with one
// point per given phase-A voltage.
inline pcn::_blockdata verification(const QDateTime &moment, std::initializer_list<double> voltages)
{
    pcn::_blockdata v = testsupport::sampleVerification(SchemeThreePhaseFourWire, PowerActive, moment, 0);
    v.meterType = QStringLiteral("CE301");
    v.serial = 4242;
    v.serialText = QStringLiteral("4242");
    v.accuracyClass = 0.5;
    v.year = 2009;
    v.uLineNom = 380;
    v.uPhaseNom = 220;
    v.i1 = 1;
    v.i2 = 1;
    for (double u : voltages) {
        pcn::_datasample p;
        p.U = {u, 221, 222};
        p.I = {5, 5, 5};
        p.Uline = {380, 380, 380};
        p.cosPhi = {1, 1, 1};
        p.Ptotal = 3000;
        p.Stotal = 3000;
        p.range = {40, 0, RangeClamps, 250, 0, 0};
        v.points << p;
    }
    return v;
}

inline QDateTime at(int month, int day, int hour = 10, int minute = 0)
{
    return QDateTime(QDate(2010, month, day), QTime(hour, minute, 0));
}

// A meter of instrument type 3, serial 777, with the given verifications.
inline pcn::_totalblockdata meter(std::initializer_list<pcn::_blockdata> verifications)
{
    pcn::_totalblockdata m;
    for (const pcn::_blockdata &v : verifications)
        m.verifications << v;
    m.instrument.type = 3;
    m.instrument.serial = 777;
    return m;
}

// Phase-A voltages of all points of a verification, in stored order.
inline QList<double> voltagesOf(const pcn::_blockdata &v)
{
    QList<double> u;
    for (const pcn::_datasample &p : v.points)
        u << p.U[0];
    return u;
}

// A folder tree as the phase-A voltages of every verification of each file
// (by path below the tree's root); an unreadable file counts as {-1}.
using Tree = QMap<QString, QList<double>>;

inline Tree treeOf(const QString &root)
{
    Tree tree;
    QDirIterator it(root, {QStringLiteral("*.pcn")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const MeterFileReadResult r = ReadMeterFile(it.next());
        QList<double> &u = tree[QDir(root).relativeFilePath(it.filePath())];
        for (const pcn::_blockdata &v : r.meter.verifications)
            u << voltagesOf(v);
        if (!r.readable)
            u = {-1};
    }
    return tree;
}

// The file commands, one table through both doors (the record functions and
// the main window's commands) on one tree: A/a.pcn (voltage 1), A/b.pcn (2,
// 3) and B/a.pcn (5, 6), all of the same meter. A row: the command, the file
// of A it takes, the folder it goes to (for a merge: the target in A), and
// the tree after.
enum FileCommand { CopyFile, CutFile, DeleteFile, MergeFile, MergeDeletingFile };

inline const Tree kTreeBefore{{"A/a.pcn", {1}}, {"A/b.pcn", {2, 3}}, {"B/a.pcn", {5, 6}}};

inline bool writeTree(const QString &root)
{
    return QDir(root).mkpath(QStringLiteral("A")) && QDir(root).mkpath(QStringLiteral("B"))
           && WriteMeterFile(root + QStringLiteral("/A/a.pcn"), meter({verification(at(3, 1), {1})}))
           && WriteMeterFile(root + QStringLiteral("/A/b.pcn"),
                             meter({verification(at(3, 2), {2}), verification(at(3, 3), {3})}))
           && WriteMeterFile(root + QStringLiteral("/B/a.pcn"),
                             meter({verification(at(5, 1), {5}), verification(at(5, 2), {6})}));
}

inline void addFileCommands()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("into");
    QTest::addColumn<Tree>("after");
    QTest::newRow("copy into its own folder") << int(CopyFile) << "b.pcn"
                                              << "A" << kTreeBefore;
    QTest::newRow("copy over the file of that name")
        << int(CopyFile) << "a.pcn"
        << "B" << Tree{{"A/a.pcn", {1}}, {"A/b.pcn", {2, 3}}, {"B/a.pcn", {1}}};
    QTest::newRow("cut into another folder") << int(CutFile) << "b.pcn"
                                             << "B" << Tree{{"A/a.pcn", {1}}, {"B/a.pcn", {5, 6}}, {"B/b.pcn", {2, 3}}};
    QTest::newRow("delete") << int(DeleteFile) << "b.pcn"
                            << "A" << Tree{{"A/a.pcn", {1}}, {"B/a.pcn", {5, 6}}};
    QTest::newRow("merge keeping the source")
        << int(MergeFile) << "b.pcn"
        << "A" << Tree{{"A/a.pcn", {1, 2, 3}}, {"A/b.pcn", {2, 3}}, {"B/a.pcn", {5, 6}}};
    QTest::newRow("merge deleting the source") << int(MergeDeletingFile) << "b.pcn"
                                               << "A" << Tree{{"A/a.pcn", {1, 2, 3}}, {"B/a.pcn", {5, 6}}};
}

} // namespace opsdata
