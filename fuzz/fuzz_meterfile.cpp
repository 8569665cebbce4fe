// The stored verification file reader: every version, with and without the
// file header. Whatever it accepts must be storable again and read back with
// the same values (read -> write -> read), and a headerless file must be
// upgraded on a copy without losing anything.
#include "fuzzinput.h"

#include "records/meterfile.h"
#include "records/pcnlayout.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

namespace {

int word(const std::uint8_t *b)
{
    return b[0] | (b[1] << 8);
}

// Recomputes every checksum where the reader looks for one.
void restamp(std::uint8_t *b, std::size_t size)
{
    std::size_t pos = 0;
    if (size > 0 && b[0] == pcn::kFileHeaderMarker) {
        fuzz::seal(b, size, 0, pcn::kFileHeaderSize - 2);
        pos = pcn::kFileHeaderSize;
    }
    while (pos + pcn::kRecordHeaderSize <= size) {
        const int version = b[pos];
        const int n = word(b + pos + 42);
        if (n == 0 || version > 23)
            return;
        const std::size_t length = version == 23 ? pcn::kBlockSize : pcn::oldBlockSize(std::min(n, 10));
        if (pos + length > size)
            return;
        fuzz::seal(b, size, pos, length - 2);
        pos += length;
        const std::size_t ext = version == 23 ? pcn::kExtensionSize : pcn::kOldExtensionSize;
        for (int k = 10; k < n; ++k) {
            if (pos + ext > size)
                return;
            fuzz::seal(b, size, pos, ext - 2);
            pos += ext;
        }
    }
}

// The designation written back: the same text, at most padded with spaces
// to the 14 characters the format pads to.
bool sameDesignation(const QString &read, const QString &back)
{
    if (!back.startsWith(read))
        return false;
    for (qsizetype i = read.size(); i < back.size(); ++i)
        if (back[i] != QLatin1Char(' '))
            return false;
    return back.size() == read.size() || back.size() == 14;
}

void sameSummary(const pcn::_totalblockdata &a, const pcn::_totalblockdata &b)
{
    fuzz::check(a.verifications.size() == b.verifications.size(), "verification count changed on rewrite");
    fuzz::check(a.instrument.type == b.instrument.type, "instrument type changed on rewrite");
    for (qsizetype i = 0; i < a.verifications.size(); ++i) {
        const pcn::_blockdata &x = a.verifications[i];
        const pcn::_blockdata &y = b.verifications[i];
        fuzz::check(sameDesignation(x.meterType, y.meterType), "designation changed on rewrite");
        fuzz::check(x.serial == y.serial && x.serialText == y.serialText, "serial changed on rewrite");
        fuzz::check(x.date == y.date && x.time == y.time, "date or time changed on rewrite");
        fuzz::check(x.points.size() == y.points.size(), "point count changed on rewrite");
        fuzz::check(x.instrumentType == y.instrumentType, "block instrument type changed on rewrite");
    }
}

// A headerless file read from disk gains its header on a copy; the copy
// then reads with a header and the same verifications.
void upgradeOnCopy(const QByteArray &bytes, const MeterFileReadResult &first)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("headerless.pcn"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return;
    file.close();
    const MeterFileReadResult read = ReadMeterFile(path);
    fuzz::check(read.readable, "a readable headerless file did not read from disk");
    fuzz::check(read.upgraded, "a headerless file was not upgraded");
    const MeterFileReadResult again = ReadMeterFile(path);
    fuzz::check(again.readable && !again.headerless && !again.upgraded,
                "an upgraded file did not read with its header");
    sameSummary(first.meter, again.meter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    if (in.restamp())
        restamp(in.bytes.get(), in.size);
    const MeterFileReadResult first = parseMeterFile(in.view());
    if (!first.readable)
        return 0;
    fuzz::check(first.meter.verifications.size() > 0, "readable without verifications");

    // Read -> write -> read: the rewrite is never refused for a file that
    // was read, and it keeps what was read; a second rewrite changes no byte.
    const QByteArray written = encodeMeterFile(first.meter);
    fuzz::check(!written.isEmpty(), "a file that was read cannot be written back");
    const MeterFileReadResult second = parseMeterFile(written);
    fuzz::check(second.readable && !second.headerless, "a rewritten file does not read");
    sameSummary(first.meter, second.meter);
    const QByteArray again = encodeMeterFile(second.meter);
    if (again != written) {
        qsizetype at = 0;
        while (at < again.size() && at < written.size() && again[at] == written[at])
            ++at;
        std::fprintf(stderr, "second rewrite differs at byte %lld of %lld: %s / %s\n", qint64(at),
                     qint64(written.size()), written.mid(at - at % 8, 8).toHex(' ').constData(),
                     again.mid(at - at % 8, 8).toHex(' ').constData());
        fuzz::fail("a second rewrite changed bytes");
    }

    if (first.headerless && in.variant(8) >= 4)
        upgradeOnCopy(in.raw(), first);
    return 0;
}
