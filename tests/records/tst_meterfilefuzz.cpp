// Feeds thousands of damaged, truncated and re-sealed files to the byte
// parser. It must never crash or read outside the bytes (run it under the
// address sanitizer to see the latter), and whatever it accepts must be
// consistent and writable again.
#include "records/meterfile.h"
#include "pcnsamples.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

using namespace pcnsamples;

namespace {

int word(const QByteArray &b, qsizetype at)
{
    return int(std::uint8_t(b[at])) | int(std::uint8_t(b[at + 1])) << 8;
}

// Recomputes every checksum where a reader would look for one, so that
// damage inside the blocks reaches the decoding instead of the checksum test.
void reseal(QByteArray &b)
{
    qsizetype pos = 0;
    if (!b.isEmpty() && b[0] == 24) {
        if (b.size() < 67)
            return;
        seal(b, 0, 65);
        pos = 67;
    }
    while (pos + 52 <= b.size()) {
        const int version = std::uint8_t(b[pos]);
        const int n = word(b, pos + 42);
        if (n == 0 || version > 23)
            return;
        const qsizetype length = version == 23 ? 1134 : 52 + 96 * qMin(n, 10) + 2;
        if (pos + length > b.size())
            return;
        seal(b, int(pos), int(length - 2));
        pos += length;
        const qsizetype ext = version == 23 ? 110 : 98;
        for (int k = 10; k < n; ++k) {
            if (pos + ext > b.size())
                return;
            seal(b, int(pos), int(ext - 2));
            pos += ext;
        }
    }
}

QVector<QByteArray> corpus()
{
    QByteArray extension;
    const QByteArray eleven = type3Block11(&extension) + extension;
    Header h22;
    h22.version = 22;
    h22.type = 1;
    h22.n = 11;
    QByteArray old = blockOld(h22);
    sealOld(old);
    QByteArray oldExt = extensionOld();
    sealExtensionOld(oldExt);
    return {
        fileHeader("1") + type0Block(),
        fileHeader("22") + type1Block() + type5Block(),
        fileHeader("333") + eleven,
        fileHeader("4") + type6Block() + type0Block(),
        type2Block22() + type2Block22(5),
        old + oldExt,
        fileHeader("x") + old + oldExt + type0Block(),
    };
}

// The bytes placed at the very end of a readable mapping, followed by a page
// that may not be touched: a read past the last byte ends the test with a
// fault instead of landing on a terminating NUL.
class GuardedBytes {
public:
    explicit GuardedBytes(const QByteArray &bytes)
    {
        const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
        const std::size_t used = (std::size_t(bytes.size()) + page - 1) / page * page;
        length_ = used + page;
        void *map = ::mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED)
            qFatal("no memory for the guarded buffer");
        base_ = static_cast<char *>(map);
        ::mprotect(base_ + used, page, PROT_NONE);
        char *start = base_ + used - std::size_t(bytes.size());
        std::memcpy(start, bytes.constData(), std::size_t(bytes.size()));
        view_ = QByteArray::fromRawData(start, bytes.size());
    }
    GuardedBytes(const GuardedBytes &) = delete;
    GuardedBytes &operator=(const GuardedBytes &) = delete;
    ~GuardedBytes() { ::munmap(base_, length_); }
    const QByteArray &bytes() const { return view_; }

private:
    char *base_ = nullptr;
    std::size_t length_ = 0;
    QByteArray view_;
};

} // namespace

class TestMeterFileFuzz : public QObject {
    Q_OBJECT

    int m_readable = 0;
    int m_total = 0;

    void check(const QByteArray &bytes)
    {
        ++m_total;
        const GuardedBytes guarded(bytes);
        const MeterFileReadResult r = parseMeterFile(guarded.bytes());
        if (!r.readable) {
            QVERIFY(r.meter.verifications.isEmpty());
            return;
        }
        ++m_readable;
        QVERIFY(!r.meter.verifications.isEmpty());
        QCOMPARE(r.bytesConsumed + (r.headerless ? 0 : 67), qint64(bytes.size()));
        for (const pcn::_blockdata &v : r.meter.verifications) {
            QVERIFY(!v.points.isEmpty());
            QVERIFY(v.date.isValid() && v.time.isValid());
            for (const pcn::_datasample &p : v.points) {
                for (int k = 0; k < 3; ++k)
                    QVERIFY(std::isfinite(p.Q[k]) && std::isfinite(p.S[k]) && std::isfinite(p.P[k]));
                QVERIFY(std::isfinite(p.pfTotal));
                for (char c : p.pfChar)
                    QVERIFY(c == 'L' || c == 'C');
            }
        }
        // What was accepted can be stored again and read back alike.
        const QByteArray rewritten = encodeMeterFile(r.meter);
        QVERIFY(!rewritten.isEmpty());
        const MeterFileReadResult back = parseMeterFile(rewritten);
        QVERIFY(back.readable);
        QCOMPARE(back.meter.verifications.size(), r.meter.verifications.size());
        QCOMPARE(back.meter.verifications.last().points.size(), r.meter.verifications.last().points.size());
    }

private slots:
    void truncatedAtEveryLength()
    {
        for (const QByteArray &file : corpus()) {
            for (qsizetype len = 0; len <= file.size(); ++len) {
                check(file.left(len));
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    void mutated()
    {
        m_readable = 0;
        m_total = 0;
        QRandomGenerator rng(20260412);
        const QVector<QByteArray> files = corpus();
        // Offsets worth hitting: version, type, point count, word 38, BCD
        // fields, range codes and range words.
        const int hot[] = {0, 1, 38, 39, 40, 42, 43, 44, 46, 47, 48, 50, 51, 52 + 94, 52 + 95, 1012, 1014, 1016};
        for (int round = 0; round < 6000; ++round) {
            QByteArray b = files[rng.bounded(files.size())];
            const int edits = 1 + rng.bounded(6);
            for (int e = 0; e < edits; ++e) {
                const qsizetype at = rng.bounded(3) == 0 ? qsizetype(67 + hot[rng.bounded(int(std::size(hot)))])
                                                         : rng.bounded(qMax<qsizetype>(1, b.size()));
                if (at < b.size())
                    b[at] = char(rng.bounded(256));
            }
            if (rng.bounded(4) == 0)
                b.truncate(rng.bounded(b.size() + 1));
            if (rng.bounded(8) == 0)
                b.append(QByteArray(rng.bounded(300), char(rng.bounded(256))));
            if (rng.bounded(3) != 0)
                reseal(b);
            check(b);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d of %d mutated files were readable", m_readable, m_total);
        QVERIFY(m_readable > 100); // the re-sealing lets damage reach the decoder
    }

    void randomBytes()
    {
        QRandomGenerator rng(7);
        for (int round = 0; round < 2000; ++round) {
            QByteArray b(rng.bounded(2500), Qt::Uninitialized);
            for (char &c : b)
                c = char(rng.bounded(256));
            if (!b.isEmpty() && rng.bounded(2))
                b[0] = 24;
            if (b.size() > 120 && rng.bounded(2)) {
                b[67] = char(rng.bounded(2) ? 23 : 22);
                b[67 + 42] = char(rng.bounded(12));
                b[67 + 43] = 0;
            }
            reseal(b);
            check(b);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestMeterFileFuzz)
#include "tst_meterfilefuzz.moc"
