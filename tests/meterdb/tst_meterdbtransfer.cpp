// Meter database transfers against the instrument emulator on a
// pseudo-terminal, for both generations: the frames a write sends, reading
// back what was written, through vardosk-cli and through the editor; a
// wrong password sends nothing; a failed read keeps the entries.
#include "base/ui/passworddialogs.h"
#include "bdformsupport.h"
#include "meterdb/ui/bdform.h"
#include "processes.h"
#include "testdir.h"
#include "meterdb/bdcfile.h"
#include "base/checksum.h"
#include "meterdb/meterbasetransfer.h"
#include "device/connection.h"
#include "meterdbsamples.h"
#include "dialogwidgets.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using meterdbtest::Recorded;
using testsupport::child;
using testsupport::CliRun;
using testsupport::runCli;
using Sim = testsupport::Emulator;

namespace {

// The request frames of a trace file, rebuilt from the bytes sent.
QVector<QByteArray> sentFrames(const QString &tracePath)
{
    QByteArray sent;
    QFile file(tracePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    while (!file.atEnd()) {
        const QList<QByteArray> parts = file.readLine().simplified().split(' ');
        if (parts.size() > 2 && parts[1] == "TX") {
            for (int i = 2; i < parts.size(); ++i)
                sent.append(char(parts[i].toInt(nullptr, 16)));
        }
    }
    QVector<QByteArray> frames;
    while (sent.size() >= 4) {
        const int length = (quint8(sent[2]) | (quint8(sent[3]) << 8)) + 6;
        frames.append(sent.left(length));
        sent.remove(0, length);
    }
    return frames;
}

int word(const QByteArray &frame, int at)
{
    return quint8(frame[at]) | (quint8(frame[at + 1]) << 8);
}

bool sameLists(const meterdb::MeterList &a, const meterdb::MeterList &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), meterdb::sameEntry);
}

device::Connection ptyConnection(const QString &port, const QString &trace = {})
{
    device::Connection c;
    c.portName = port;
    c.tracePath = trace;
    return c;
}

void addGenerations(bool withEmptyArchive = false)
{
    QTest::addColumn<int>("modelClass");
    QTest::addColumn<int>("records"); // in the instrument's archive
    QTest::newRow("older") << 0 << 12;
    QTest::newRow("newer") << 3 << 12;
    QTest::newRow("newer single-phase") << 5 << 12;
    if (withEmptyArchive) // identify says "archive empty": the transfer goes on
        QTest::newRow("newer, empty archive") << 3 << 0;
}

} // namespace

class tst_meterdbtransfer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!testsupport::emulatorBuilt())
            QSKIP("the instrument emulator is not built");
    }

    void cliWriteThenRead_data() { addGenerations(true); }

    void cliWriteThenRead()
    {
        QFETCH(int, modelClass);
        QFETCH(int, records);
        const bool older = modelClass < 3;
        QTemporaryDir dir;
        Sim sim({QStringLiteral("--model-class"), QString::number(modelClass), QStringLiteral("--db-file"),
                 dir.filePath(QStringLiteral("db.raw")), QStringLiteral("--records"), QString::number(records)});
        QVERIFY(!sim.path.isEmpty());
        const QString file = dir.filePath(QStringLiteral("ten.bdc"));
        const QString trace = dir.filePath(QStringLiteral("trace.txt"));
        const meterdb::MeterList ten = meterdbtest::entries(10);
        QCOMPARE(meterdb::saveBdcFile(file, ten), meterdb::BdcSave::Ok);

        const CliRun write = runCli({QStringLiteral("meterdb"), QStringLiteral("write"), file, QStringLiteral("--port"),
                                     sim.path, QStringLiteral("--trace"), trace});
        QCOMPARE(write.exitCode, 0);
        QCOMPARE(write.out.trimmed(), meterdbtest::englishMessage(16).trimmed());

        // Identify, then the two write frames carrying the same image.
        const QVector<QByteArray> frames = sentFrames(trace);
        QVERIFY(frames.size() >= 3);
        const QByteArray first = frames[frames.size() - 2];
        const QByteArray second = frames.last();
        const QByteArray image = meterdb::encodeImage(ten, true).area.left(400);
        QCOMPARE(quint8(first[1]), quint8(older ? 0x0A : 0x0E));
        QCOMPARE(first.size(), older ? 1036 : 522);
        QCOMPARE(word(first, 4), older ? 0 : 896);
        QCOMPARE(first.mid(older ? 10 : 8, 400), image);
        QCOMPARE(quint8(second[1]), quint8(0x08));
        QCOMPARE(second.size(), 524);
        QCOMPARE(word(second, 6), older ? 28672 : 1472);
        QCOMPARE(second.mid(10, 400), image);
        // The 512-byte block ends in its own CRC; every frame in the frame's.
        QVERIFY(IsBlockValid(second.mid(10, 512)));
        if (!older)
            QVERIFY(IsBlockValid(first.mid(8, 512)));
        for (const QByteArray &f : frames)
            QVERIFY(IsBlockValid(f));

        const QString out = dir.filePath(QStringLiteral("back.bdc"));
        const CliRun read = runCli({QStringLiteral("meterdb"), QStringLiteral("read"), QStringLiteral("--port"),
                                    sim.path, QStringLiteral("--out"), out});
        QCOMPARE(read.exitCode, 0);
        meterdb::MeterList back;
        QCOMPARE(meterdb::loadBdcFile(out, back), meterdb::BdcLoad::Ok);
        QVERIFY(sameLists(back, ten));

        const CliRun show = runCli({QStringLiteral("meterdb"), QStringLiteral("show"), out});
        QCOMPARE(show.exitCode, 0);
        const QStringList lines = show.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 10);
        const QJsonObject last = QJsonDocument::fromJson(lines.last().toUtf8()).object();
        QCOMPARE(last.value(QStringLiteral("meterType")).toString(), ten.last().meterType);
        QCOMPARE(last.value(QStringLiteral("serial")).toDouble(), double(ten.last().serial));
        QCOMPARE(last.value(QStringLiteral("accuracyClass")).toDouble(), ten.last().accuracyClass);
        QCOMPARE(last.value(QStringLiteral("uLineNom")).toDouble(), ten.last().uLineNom);
        QCOMPARE(last.value(QStringLiteral("iNom")).toDouble(), 12.5);
        QCOMPARE(last.value(QStringLiteral("i1")).toInt(), 10);
        QCOMPARE(last.keys().size(), 10);
    }

    void cliRefusals()
    {
        QTemporaryDir dir;
        const QString nine = dir.filePath(QStringLiteral("nine.bdc"));
        const QString trace = dir.filePath(QStringLiteral("trace.txt"));
        QCOMPARE(meterdb::saveBdcFile(nine, meterdbtest::entries(9)), meterdb::BdcSave::Ok);
        // Refused before anything is sent: no port is even opened.
        const CliRun write = runCli({QStringLiteral("meterdb"), QStringLiteral("write"), nine, QStringLiteral("--port"),
                                     QStringLiteral("/dev/null"), QStringLiteral("--trace"), trace});
        QVERIFY(write.exitCode != 0);
        QVERIFY(write.err.contains(QStringLiteral("9 entries")));
        QVERIFY(!QFile::exists(trace));

        QVERIFY(
            testsupport::writeAll(dir.filePath(QStringLiteral("short.bdc")), testsupport::readAll(nine).left(1035)));
        const CliRun show =
            runCli({QStringLiteral("meterdb"), QStringLiteral("show"), dir.filePath(QStringLiteral("short.bdc"))});
        QVERIFY(show.exitCode != 0);
        QCOMPARE(show.err.trimmed(), meterdbtest::englishMessage(27));
        QVERIFY(show.out.isEmpty());

        // An area of another size than 1024 bytes sends nothing.
        device::ExchangeContext context;
        meterdb::MeterBaseTransfer transfer(
            device::makeLinkMaker(ptyConnection(QStringLiteral("/dev/null"), trace), context), context);
        for (const int size : {0, 400, 1023, 1025})
            QCOMPARE(transfer.write(QByteArray(size, '\0')), device::Status::BadStatus);
        QVERIFY(!QFile::exists(trace));

        // Only trailing blanks go; an all-blank type keeps one.
        QCOMPARE(meterdb::saveBdcFile(nine, {meterdbtest::entry(" A  ", 1), meterdbtest::entry("   ", 2)}),
                 meterdb::BdcSave::Ok);
        const QString shown = runCli({"meterdb", "show", nine}).out;
        QVERIFY(shown.contains("{\"meterType\":\" A\",") && shown.contains("{\"meterType\":\" \","));
    }

    // A set password guards a write: missing (no terminal) or wrong, nothing is written.
    void cliWriteAsksForThePassword()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath("db.raw"), file = dir.filePath("ten.bdc");
        Sim sim({"--db-file", db});
        QCOMPARE(meterdb::saveBdcFile(file, meterdbtest::entries(10)), meterdb::BdcSave::Ok);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.path());
        QSettings(dir.filePath("Korvel/Tessmer.ini"), QSettings::IniFormat).setValue("Password", "secret");
        const QByteArray before = testsupport::readAll(db);
        const QStringList write = {"meterdb", "write", file, "--port", sim.path};
        for (const QByteArray &input : {QByteArray(), QByteArray("Secret\n"), QByteArray("secret\n")}) {
            const bool right = input == "secret\n";
            const CliRun run =
                runCli(input.isEmpty() ? write : write + QStringList{"--password-stdin"}, env, 120000, input);
            QCOMPARE(run.exitCode, right ? 0 : 2);
            QCOMPARE(run.err.trimmed(), right ? QString() : meterdbtest::englishMessage(19));
            QCOMPARE(testsupport::readAll(db) != before, right);
        }
    }

    void editorTransfers_data() { addGenerations(); }

    void editorTransfers()
    {
        QFETCH(int, modelClass);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("db.raw"));
        Sim sim({QStringLiteral("--model-class"), QString::number(modelClass), QStringLiteral("--db-file"), db});
        QVERIFY(!sim.path.isEmpty());
        const QByteArray before = testsupport::readAll(db);
        const QString trace = dir.filePath(QStringLiteral("trace.txt"));

        Recorded r;
        MeterBaseServices services = meterdbtest::recordingServices(r);
        TPswd2Form prompt;
        services.askPassword = [&] {
            ++r.passwordAsked;
            QTimer::singleShot(0, &prompt, [&prompt] {
                child<QLineEdit>(prompt, "Edit1")->setText(QStringLiteral("wrong"));
                child<QPushButton>(prompt, "Button1")->click();
            });
            return AskPassword(prompt, QStringLiteral("secret"), meterdbtest::englishMessage(19), services.show)
                   == PasswordAnswer::Accepted;
        };
        TBdForm form(services);
        form.setConnection(ptyConnection(sim.path, trace));
        form.StartWithDeviceEntries(meterdbtest::entries(10));
        form.show();

        // A wrong password: nothing sent, the buttons as they were.
        form.WriteButtonClick();
        QCOMPARE(r.passwordAsked, 1);
        QCOMPARE(r.messages, QStringList{meterdbtest::englishMessage(19)});
        QVERIFY(!QFile::exists(trace));
        QVERIFY(r.status.isEmpty());
        QVERIFY(child<QPushButton>(form, "WriteButton")->isEnabled());
        QCOMPARE(testsupport::readAll(db), before);

        // The right one: the image reaches the instrument.
        services.askPassword = [] { return true; };
        TBdForm writer(services);
        writer.setConnection(ptyConnection(sim.path));
        writer.StartWithDeviceEntries(meterdbtest::entries(10));
        writer.show();
        writer.WriteButtonClick();
        QCOMPARE(r.status, (QStringList{meterdbtest::englishMessage(15), meterdbtest::englishMessage(16)}));
        QCOMPARE(testsupport::readAll(db).left(400),
                 meterdb::encodeImage(meterdbtest::entries(10), true).area.left(400));
        QVERIFY(child<QPushButton>(writer, "WriteButton")->isEnabled());
        QVERIFY(writer.close()); // written: nothing to ask

        // Reading replaces the entries by the ten of the instrument.
        r.status.clear();
        form.StartWithDeviceEntries(meterdbtest::entries(3));
        form.ReadButtonClick();
        QCOMPARE(r.status, (QStringList{meterdbtest::englishMessage(17), meterdbtest::englishMessage(14)}));
        QVERIFY(sameLists(form.entries(), meterdbtest::entries(10)));
        QVERIFY(child<QPushButton>(form, "WriteButton")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "NewButton")->isEnabled());
    }

    void failedReadKeepsEntries_data() { addGenerations(); }

    void failedReadKeepsEntries()
    {
        QFETCH(int, modelClass);
        // The instrument answers the first request with status 0xFF.
        Sim sim({QStringLiteral("--model-class"), QString::number(modelClass), QStringLiteral("--fault"),
                 QStringLiteral("status-ff:1")});
        QVERIFY(!sim.path.isEmpty());
        Recorded r;
        TBdForm form(meterdbtest::recordingServices(r));
        form.setConnection(ptyConnection(sim.path));
        form.StartWithDeviceEntries(meterdbtest::entries(3));
        form.show();
        form.ReadButtonClick();
        QCOMPARE(r.status, (QStringList{meterdbtest::englishMessage(17), meterdbtest::englishMessage(3)}));
        QVERIFY(sameLists(form.entries(), meterdbtest::entries(3)));
        QVERIFY(child<QPushButton>(form, "ReadButton")->isEnabled());
        QVERIFY(child<QPushButton>(form, "NewButton")->isEnabled());
    }
};

QTEST_MAIN(tst_meterdbtransfer)
#include "tst_meterdbtransfer.moc"
