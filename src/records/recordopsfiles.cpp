// The record operations that touch the disk: copying, moving and deleting
// whole stored files, and merging two files of one meter.
#include "records/recordops.h"

#include "records/meterfile.h"
#include "base/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
