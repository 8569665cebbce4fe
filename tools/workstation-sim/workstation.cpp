#include "workstation.h"

#include "journal.h"
#include "records/meterfile.h"
#include "records/recordops.h"
#include "records/recordstore.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <random>

namespace {

class Workstation {
public:
    Workstation(const WorkstationRun &run, QTextStream &out)
        : m_run(run), m_store(run.dataFolder), m_journal(out), m_random(run.seed)
    {
        m_store.SelectFolder(m_store.folderPath({QStringLiteral("A")}));
    }

    WorkstationCounts counts;

    void step()
    {
        // The window follows the disk, but the user acts on what the list
        // showed a moment ago; now and then the other folder is opened.
        const unsigned look = pick(8);
        if (look == 0)
            m_store.SelectFolder(m_store.folderPath({pick(2) ? QStringLiteral("A") : QStringLiteral("B")}));
        else if (look < 3)
            m_store.RefreshIfChanged();
        QThread::msleep(pick(6));
        if (m_store.meters().isEmpty())
            return;
        const int index = int(pick(unsigned(m_store.meters().size())));
        ++counts.commands;
        const unsigned what = pick(400);
        if (what < 220)
            editConstant(index);
        else if (what < 300)
            merge(index);
        else if (what < 390)
            move(index);
        else if (m_store.meters().size() < 4)
            return; // removals leave something to work on
        else if (what < 397)
            dropVerification(index);
        else
            deleteFile(index);
    }

private:
    unsigned pick(unsigned below) { return std::uniform_int_distribution<unsigned>(0, below - 1)(m_random); }
    QString path(int index) const { return m_store.currentFilePath(m_store.meters().at(index).fileName); }

    // The command's outcome, as the window reports it: a refusal reads the
    // folder again.
    bool outcome(const GuardedWrite &result, const QString &op, const QStringList &refusedDetail = {})
    {
        if (result) {
            ++counts.done;
            return true;
        }
        if (result.changedMeanwhile()) {
            ++counts.refused;
            m_journal.line(QStringList{QStringLiteral("REFUSED"), op} + refusedDetail);
            m_store.RefreshFromDisk();
        } else {
            ++counts.failed;
            m_journal.line({QStringLiteral("FAILED"), op});
            m_store.RefreshFromDisk();
        }
        return false;
    }

    void editConstant(int index)
    {
        const std::uint32_t value = std::uint32_t(m_run.id) * 100000000u + ++m_count;
        // A file that cannot be read now was changed meanwhile (moved away).
        // One that can is written only while it is as listed: the constant
        // read with it is then the one the list stood for.
        const std::optional<pcn::_totalblockdata> meter = m_store.meterToChange(index);
        if (!meter) {
            outcome(GuardedWrite::Changed, QStringLiteral("edit"));
            return;
        }
        const int v = int(pick(unsigned(meter->verifications.size())));
        const std::uint32_t previous = meter->verifications.at(v).constant;
        const QString key = verificationKey(meter->verifications.at(v));
        std::optional<pcn::_totalblockdata> changed = EditConstant(*meter, v, value);
        if (!changed
            || !outcome(RewriteMeterFile(path(index), *changed), QStringLiteral("edit"), {key, QString::number(value)}))
            return;
        m_journal.line({QStringLiteral("EDIT"), key, QString::number(previous), QString::number(value)});
        m_store.ReplaceMeter(index, *changed);
    }

    void merge(int target)
    {
        const QVector<ListedMeter> &meters = m_store.meters();
        int source = -1;
        for (int k = 0; k < meters.size() && source < 0; ++k)
            if (k != target && AreMergeable(meters.at(k), meters.at(target)))
                source = k;
        if (source < 0)
            return;
        // The source's verifications, for the journal: the merge goes on
        // only while the file is as listed, and then holds these.
        const std::shared_ptr<const pcn::_totalblockdata> sourceMeter = m_store.loadMeter(source);
        if (!sourceMeter) {
            outcome(GuardedWrite::Changed, QStringLiteral("merge"));
            return;
        }
        const MergeOutcome merged =
            MergeMeterFiles(path(source), path(target), true, meters.at(source).identity, meters.at(target).identity);
        if (merged.result == MergeResult::ChangedMeanwhile) {
            outcome(GuardedWrite::Changed, QStringLiteral("merge"));
            return;
        }
        if (merged.result != MergeResult::Merged) {
            outcome(GuardedWrite::Failed, QStringLiteral("merge"));
            return;
        }
        ++counts.done;
        m_journal.line({QStringLiteral("DONE"), QStringLiteral("merge")});
        if (merged.sourceChanged) {
            // The source's verifications as merged are in the target now; the
            // source changed meanwhile and stays: told, and stored twice.
            ++counts.refused;
            m_journal.line({QStringLiteral("REFUSED"), QStringLiteral("merge source delete")});
            for (const pcn::_blockdata &v : sourceMeter->verifications)
                m_journal.line({QStringLiteral("KEPT"), verificationKey(v)});
        }
        m_store.RefreshFromDisk();
    }

    void move(int index)
    {
        const QString folder = QFileInfo(m_store.currentFolder()).fileName() == QLatin1String("A")
                                   ? QStringLiteral("B")
                                   : QStringLiteral("A");
        const QString destination = PasteDestination(path(index), m_store.folderPath({folder}));
        if (outcome(MoveMeterFile(path(index), destination, m_store.meters().at(index).identity),
                    QStringLiteral("move"))) {
            m_journal.line({QStringLiteral("DONE"), QStringLiteral("move")});
            m_store.RemoveMeter(index);
        }
    }

    void dropVerification(int index)
    {
        const std::optional<pcn::_totalblockdata> meter = m_store.meterToChange(index);
        if (!meter) {
            outcome(GuardedWrite::Changed, QStringLiteral("drop"));
            return;
        }
        const int v = int(pick(unsigned(meter->verifications.size())));
        const QString key = verificationKey(meter->verifications.at(v));
        std::optional<pcn::_totalblockdata> changed = DeleteElement(*meter, v);
        if (!changed || !outcome(RewriteMeterFile(path(index), *changed), QStringLiteral("drop")))
            return;
        m_journal.line({QStringLiteral("DROP"), key});
        m_store.ReplaceMeter(index, *changed, v);
    }

    void deleteFile(int index)
    {
        // Users delete the odd file; merged meters hold a whole history.
        if (m_store.meters().at(index).verificationCount > 2)
            return;
        // The verifications, for the journal: the file is deleted only while
        // it is as listed, and then holds these.
        const std::shared_ptr<const pcn::_totalblockdata> meter = m_store.loadMeter(index);
        if (!meter) {
            outcome(GuardedWrite::Changed, QStringLiteral("delete"));
            return;
        }
        if (!outcome(DeleteMeterFile(path(index), m_store.meters().at(index).identity), QStringLiteral("delete")))
            return;
        for (const pcn::_blockdata &v : meter->verifications)
            m_journal.line({QStringLiteral("DROP"), verificationKey(v)});
        m_store.RemoveMeter(index);
    }

    const WorkstationRun &m_run;
    RecordStore m_store;
    Journal m_journal;
    std::mt19937 m_random;
    std::uint32_t m_count = 0;
};

} // namespace

WorkstationCounts runWorkstation(const WorkstationRun &run, QTextStream &journal)
{
    Workstation station(run, journal);
    const QDeadlineTimer deadline(std::chrono::seconds(run.seconds));
    while (!deadline.hasExpired() && (run.stopFile.isEmpty() || !QFileInfo::exists(run.stopFile)))
        station.step();
    return station.counts;
}
