// The record operations that touch the disk: copying, moving and deleting
// whole stored files, and merging two files of one meter.
#include "records/recordops.h"

#include "records/meterfile.h"
#include "base/platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

bool IsMergeable(const QString &sourcePath, const QString &targetPath, MergePair *pair)
{
    if (sourcePath == targetPath)
        return false;
    // The check needs the first verifications only; the points are decoded
    // when the files as read are asked for.
    const MeterRead what = pair ? MeterRead::Points : MeterRead::Summaries;
    MeterFileReadResult source = ReadMeterFile(sourcePath, what);
    if (!source.readable)
        return false;
    MeterFileReadResult target = ReadMeterFile(targetPath, what);
    if (!target.readable)
        return false;
    const bool mergeable = AreMergeable(source.meter, target.meter);
    if (pair) {
        pair->source = std::move(source.meter);
        pair->target = std::move(target.meter);
    }
    return mergeable;
}

QString PasteDestination(const QString &clipboardPath, const QString &folder)
{
    return QDir(folder).filePath(QFileInfo(clipboardPath).fileName());
}

namespace {

bool isSameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.absoluteFilePath() == fb.absoluteFilePath())
        return true;
    const QString ca = fa.canonicalFilePath();
    return !ca.isEmpty() && ca == fb.canonicalFilePath();
}

} // namespace

GuardedWrite CopyMeterFile(const QString &source, const QString &destination, const FileIdentity &destinationAsRead)
{
    if (isSameFile(source, destination))
        return QFileInfo(source).isFile() ? GuardedWrite::Done : GuardedWrite::Failed;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return GuardedWrite::Failed;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return GuardedWrite::Failed;
    in.close();
    return writeFileIfUnchanged(destination, bytes, platform::isReadOnly(source), destinationAsRead);
}

GuardedWrite MoveMeterFile(const QString &source, const QString &destination, const FileIdentity &sourceAsRead)
{
    if (isSameFile(source, destination))
        return GuardedWrite::Failed;
    return moveFileIfUnchanged(source, destination, sourceAsRead);
}

GuardedWrite DeleteMeterFile(const QString &path, const FileIdentity &asRead)
{
    if (QFileInfo(path).isDir())
        return GuardedWrite::Failed;
    return removeFileIfUnchanged(path, asRead);
}

MergeOutcome MergeMeterFiles(const QString &sourcePath, const QString &targetPath, bool deleteSource,
                             const FileIdentity &sourceAsRead, const FileIdentity &targetAsRead)
{
    MergeOutcome outcome;
    MergePair pair;
    const bool mergeable = IsMergeable(sourcePath, targetPath, &pair);
    // What is on disk now must be what this workstation read: a merge of a
    // file another workstation changed meanwhile would drop that change.
    const auto differs = [](const FileIdentity &asRead, const pcn::_totalblockdata &now) {
        return asRead.known && asRead != now.identity;
    };
    if (sourcePath != targetPath && (differs(sourceAsRead, pair.source) || differs(targetAsRead, pair.target))) {
        outcome.result = MergeResult::ChangedMeanwhile;
        return outcome;
    }
    if (!mergeable)
        return outcome;
    pcn::_totalblockdata merged = MergeMeters(pair.target, pair.source);
    merged.identity = pair.target.identity;
    const GuardedWrite written = RewriteMeterFile(targetPath, merged);
    if (!written) {
        outcome.result = written.changedMeanwhile() ? MergeResult::ChangedMeanwhile : MergeResult::WriteFailed;
        return outcome;
    }
    outcome.result = MergeResult::Merged;
    outcome.merged = std::move(merged);
    // The source goes only now that the target holds its verifications, and
    // only as it was merged.
    if (deleteSource) {
        const GuardedWrite removed = DeleteMeterFile(sourcePath, pair.source.identity);
        outcome.sourceDeleted = bool(removed);
        outcome.sourceChanged = removed.changedMeanwhile();
    }
    return outcome;
}

MergeAllOutcome MergeAllMeterFiles(const QString &targetPath, const QStringList &candidatePaths, bool deleteSources)
{
    MergeAllOutcome outcome;
    const MeterFileReadResult target = ReadMeterFile(targetPath);
    if (!target.readable)
        return outcome;
    struct Source {
        QString path;
        pcn::_totalblockdata meter;
        QDateTime earliest;
    };
    std::vector<Source> sources;
    const QString &serialText = target.meter.verifications.first().serialText;
    for (const QString &path : candidatePaths) {
        if (isSameFile(path, targetPath))
            continue;
        MeterFileReadResult read = ReadMeterFile(path);
        if (!read.readable) {
            outcome.unreadable << path;
            continue;
        }
        if (read.meter.verifications.first().serialText != serialText)
            continue;
        if (!AreMergeable(read.meter, target.meter)) {
            outcome.notMergeable << path;
            continue;
        }
        QDateTime earliest;
        for (const pcn::_blockdata &v : read.meter.verifications)
            if (const QDateTime at(v.date, v.time); !earliest.isValid() || at < earliest)
                earliest = at;
        sources.push_back({path, std::move(read.meter), earliest});
    }
    if (sources.empty())
        return outcome;
    std::stable_sort(sources.begin(), sources.end(),
                     [](const Source &a, const Source &b) { return a.earliest < b.earliest; });
    pcn::_totalblockdata merged = target.meter;
    for (const Source &source : sources) {
        merged = MergeMeters(merged, source.meter);
        outcome.mergedPaths << source.path;
    }
    // The target is replaced only while it is still as read here, and each
    // source goes only while it is still as merged: another workstation on a
    // shared folder may change either meanwhile.
    merged.identity = target.meter.identity;
    const GuardedWrite written = RewriteMeterFile(targetPath, merged);
    if (!written) {
        outcome.result = written.changedMeanwhile() ? MergeResult::ChangedMeanwhile : MergeResult::WriteFailed;
        outcome.mergedPaths.clear();
        return outcome;
    }
    outcome.result = MergeResult::Merged;
    outcome.merged = std::move(merged);
    // The sources go only now that the target holds their verifications.
    if (deleteSources)
        for (const Source &source : sources)
            if (DeleteMeterFile(source.path, source.meter.identity))
                outcome.deletedPaths << source.path;
    return outcome;
}
