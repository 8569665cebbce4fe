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

bool IsMergeable(const QString &sourcePath, const QString &targetPath, const RecordLabels &labels, MergePair *pair)
{
    if (sourcePath == targetPath)
        return false;
    MeterFileReadResult source = ReadMeterFile(sourcePath, labels);
    if (!source.readable)
        return false;
    MeterFileReadResult target = ReadMeterFile(targetPath, labels);
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

bool CopyMeterFile(const QString &source, const QString &destination)
{
    if (isSameFile(source, destination))
        return QFileInfo(source).isFile();
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    in.close();
    return platform::writeFileAtomically(destination, bytes, platform::isReadOnly(source));
}

bool MoveMeterFile(const QString &source, const QString &destination)
{
    if (isSameFile(source, destination) || QFileInfo::exists(destination))
        return false;
    // QFile::rename never replaces an existing file; across file systems it
    // copies and then removes the source.
    return QFile::rename(source, destination);
}

bool DeleteMeterFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    platform::setReadOnly(path, false);
    return QFile::remove(path);
}

MergeOutcome MergeMeterFiles(const QString &sourcePath, const QString &targetPath, const RecordLabels &labels,
                             bool deleteSource)
{
    MergeOutcome outcome;
    MergePair pair;
    if (!IsMergeable(sourcePath, targetPath, labels, &pair))
        return outcome;
    pcn::_totalblockdata merged = MergeMeters(pair.target, pair.source);
    if (!WriteMeterFile(targetPath, merged)) {
        outcome.result = MergeResult::WriteFailed;
        return outcome;
    }
    outcome.result = MergeResult::Merged;
    outcome.merged = std::move(merged);
    // The source goes only now that the target holds its verifications.
    if (deleteSource)
        outcome.sourceDeleted = DeleteMeterFile(sourcePath);
    return outcome;
}

MergeAllOutcome MergeAllMeterFiles(const QString &targetPath, const QStringList &candidatePaths,
                                   const RecordLabels &labels, bool deleteSources)
{
    MergeAllOutcome outcome;
    const MeterFileReadResult target = ReadMeterFile(targetPath, labels);
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
        MeterFileReadResult read = ReadMeterFile(path, labels);
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
    if (!WriteMeterFile(targetPath, merged)) {
        outcome.result = MergeResult::WriteFailed;
        outcome.mergedPaths.clear();
        return outcome;
    }
    outcome.result = MergeResult::Merged;
    outcome.merged = std::move(merged);
    // The sources go only now that the target holds their verifications.
    if (deleteSources)
        for (const QString &path : std::as_const(outcome.mergedPaths))
            if (DeleteMeterFile(path))
                outcome.deletedPaths << path;
    return outcome;
}
