#include "audit.h"

#include "journal.h"
#include "records/meterfile.h"
#include "base/platform.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QSet>

namespace {

// Every verification stored below a folder: key -> the constants of its copies.
struct Stored {
    QHash<QString, QList<std::uint32_t>> copies;
    int files = 0;
    int verifications = 0;
};

Stored storedBelow(const QString &folder, QStringList *problems)
{
    Stored stored;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        if (platform::isTemporaryWriteName(name, QStringLiteral(".pcn"))) {
            if (problems)
                *problems << QStringLiteral("temporary file left: %1").arg(path);
            continue;
        }
        if (!name.endsWith(QLatin1String(".pcn"), Qt::CaseInsensitive))
            continue;
        ++stored.files;
        const MeterFileReadResult read = ReadMeterFile(path);
        if (!read.readable) {
            if (problems)
                *problems << QStringLiteral("file does not read whole: %1").arg(path);
            continue;
        }
        for (const pcn::_blockdata &v : read.meter.verifications) {
            stored.copies[verificationKey(v)] << v.constant;
            ++stored.verifications;
        }
    }
    return stored;
}

struct Edit {
    std::uint32_t previous;
    std::uint32_t value;
};

} // namespace

AuditResult auditDataFolder(const QString &dataFolder, const QStringList &referenceFolders, const QStringList &journals)
{
    AuditResult result;
    QHash<QString, std::uint32_t> original;
    for (const QString &folder : referenceFolders) {
        const Stored reference = storedBelow(folder, nullptr);
        for (auto it = reference.copies.cbegin(); it != reference.copies.cend(); ++it)
            original.insert(it.key(), it.value().first());
    }
    result.expected = int(original.size());

    QHash<QString, int> copiesDue;
    for (auto it = original.cbegin(); it != original.cend(); ++it)
        copiesDue.insert(it.key(), 1);
    QHash<QString, QList<Edit>> edits;
    QSet<QString> keptKeys;
    QSet<std::uint32_t> refusedValues;
    for (const QString &journal : journals) {
        QFile file(journal);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            result.problems << QStringLiteral("journal cannot be read: %1").arg(journal);
            continue;
        }
        while (!file.atEnd()) {
            const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
            const QString &kind = f.first();
            if (kind == QLatin1String("EDIT") && f.size() == 4) {
                edits[f[1]] << Edit{f[2].toUInt(), f[3].toUInt()};
                ++result.edits;
            } else if (kind == QLatin1String("DROP") && f.size() == 2) {
                --copiesDue[f[1]];
                ++result.drops;
            } else if (kind == QLatin1String("KEPT") && f.size() == 2) {
                ++copiesDue[f[1]];
                keptKeys.insert(f[1]);
                ++result.kept;
            } else if (kind == QLatin1String("REFUSED")) {
                ++result.refused;
                if (f.size() == 4)
                    refusedValues.insert(f[3].toUInt());
            }
        }
    }

    const Stored now = storedBelow(dataFolder, &result.problems);
    result.files = now.files;
    result.verifications = now.verifications;
    for (auto it = now.copies.cbegin(); it != now.copies.cend(); ++it)
        if (!copiesDue.contains(it.key()))
            result.problems << QStringLiteral("verification stored from nowhere: %1").arg(it.key());
    for (auto it = copiesDue.cbegin(); it != copiesDue.cend(); ++it) {
        const QString &key = it.key();
        const QList<std::uint32_t> copies = now.copies.value(key);
        if (copies.size() != std::max(0, it.value()))
            result.problems << QStringLiteral("%1 stored %2 times, due %3").arg(key).arg(copies.size()).arg(it.value());
        for (std::uint32_t constant : copies)
            if (refusedValues.contains(constant))
                result.problems << QStringLiteral("%1 holds the refused constant %2").arg(key).arg(constant);
        const QList<Edit> chain = edits.value(key);
        if (chain.isEmpty() || keptKeys.contains(key) || copies.size() != 1)
            continue;
        // One chain from the original constant: every change started from
        // the value the one before it left, and the file holds the last.
        QHash<std::uint32_t, std::uint32_t> next;
        for (const Edit &e : chain) {
            if (next.contains(e.previous))
                result.problems << QStringLiteral("%1: two changes from %2, one lost").arg(key).arg(e.previous);
            next.insert(e.previous, e.value);
        }
        std::uint32_t last = original.value(key);
        for (int steps = 0; next.contains(last) && steps <= chain.size(); ++steps)
            last = next.value(last);
        if (copies.first() != last)
            result.problems
                << QStringLiteral("%1 holds %2, the last change set %3").arg(key).arg(copies.first()).arg(last);
    }
    return result;
}
