// The record operations built from their seams alone, without the main
// window: fake services (password, messages), a real store and real views.
// The operations change files and the store; the views follow the store's
// signals and the command states follow both.
#include "fakeservices.h"
#include "records/meterfile.h"
#include "records/recordstore.h"
#include "views/ui/recordoperations.h"
#include "samplerecords.h"
#include "views/textlookup.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"

#include <QSignalSpy>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

class TestRecordOpsSeams : public QObject {
    Q_OBJECT

    struct Rig {
        QTemporaryDir dir;
        QWidget host;
        testsupport::FakeServices services{LanguageEnglish, &host};
        RecordStore store;
        RecordViews views;
        std::unique_ptr<RecordOperations> ops;
        bool &passwordAnswer = services.passwordAnswer;
        int &passwordAsked = services.passwordAsked;
        QStringList &shown = services.shown;

        Rig() : store(dir.path() + QStringLiteral("/")), views(services.settings().columns(), &host)
        {
            views.FollowStore(store);
            ops = std::make_unique<RecordOperations>(services, store, views);
        }
        QString file(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
        int meterRows() const { return views.titleList()->model()->rowCount(); }
        int powerRows() const { return views.powerList()->model()->rowCount(); }
    };

private slots:
    void storeTellsViewsListen()
    {
        Rig rig;
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("a.pcn")), testsupport::sampleMeter("A", "1", 1, 3)));
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("b.pcn")), testsupport::sampleMeter("B", "2", 1, 1)));
        QSignalSpy rescanned(&rig.store, &RecordStore::folderRescanned);
        rig.store.SelectFolder(rig.dir.path());
        QCOMPARE(rescanned.size(), 1);
        QCOMPARE(rig.meterRows(), 2);
        QVERIFY(rig.views.Commands().copy && !rig.views.Commands().paste);

        // A copied meter: the clipboard is an input of the command states.
        rig.views.SelectMeter(rig.views.MeterRowOf(0));
        rig.ops->CopyButtonClick();
        QVERIFY(rig.views.Commands().paste);

        // Deleting an element rewrites the file; the store signals the new
        // content and the power list follows without being told.
        QCOMPARE(rig.powerRows(), 3);
        QSignalSpy replaced(&rig.store, &RecordStore::meterReplaced);
        rig.ops->DelElemButtonClick();
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(rig.powerRows(), 2);
        QCOMPARE(ReadMeterFile(rig.file(QStringLiteral("a.pcn"))).meter.verifications.size(), 2);
    }

    void passwordDecidesThroughTheService()
    {
        Rig rig;
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("a.pcn")), testsupport::sampleMeter("A", "1", 1, 1)));
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("b.pcn")), testsupport::sampleMeter("B", "2", 1, 1)));
        rig.store.SelectFolder(rig.dir.path());
        rig.views.SelectMeter(rig.views.MeterRowOf(0));
        rig.ops->CopyButtonClick();

        rig.passwordAnswer = false;
        rig.ops->DelButtonClick();
        QCOMPARE(rig.passwordAsked, 1);
        QVERIFY(QFileInfo::exists(rig.file(QStringLiteral("a.pcn"))));
        QCOMPARE(rig.meterRows(), 2);

        QSignalSpy removed(&rig.store, &RecordStore::meterRemoved);
        rig.passwordAnswer = true;
        rig.ops->DelButtonClick();
        QCOMPARE(removed.size(), 1);
        QVERIFY(!QFileInfo::exists(rig.file(QStringLiteral("a.pcn"))));
        QCOMPARE(rig.meterRows(), 1);
        // The deleted file was on the clipboard: nothing is left to paste.
        QVERIFY(rig.ops->clipboardPath().isEmpty());
        QVERIFY(!rig.views.Commands().paste);
        QVERIFY(rig.shown.isEmpty());
    }

    void busyTurnsEveryCommandOff()
    {
        Rig rig;
        QVERIFY(WriteMeterFile(rig.file(QStringLiteral("a.pcn")), testsupport::sampleMeter("A", "1", 1, 2)));
        rig.store.SelectFolder(rig.dir.path());
        QVERIFY(rig.ops->copyElemButton()->isEnabled());
        rig.views.SetBusy(true);
        QCOMPARE(rig.views.Commands(), RecordCommands());
        QVERIFY(!rig.ops->copyElemButton()->isEnabled());
        QVERIFY(!rig.ops->delElemButton()->isEnabled());
        rig.views.SetBusy(false);
        QVERIFY(rig.ops->copyElemButton()->isEnabled());
        QVERIFY(rig.views.Commands().idle);
    }
};

QTEST_MAIN(TestRecordOpsSeams)
#include "tst_recordopsseams.moc"
