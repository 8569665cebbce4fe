#include "reportfile.h"

#include "base/platform.h"
#include "base/checksum.h"
#include "reports/pagerender.h"

#include <QFile>
#include <QStringDecoder>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace report {
namespace {

constexpr char kMagic[8] = {'V', 'D', 'S', 'K', 'Q', 'R', 'P', '\x1a'};
constexpr int kHeaderSize = 18; // mark, version, reserved, payload length, checksum
constexpr double kMaxCoordinate = 100000.0; // millimetres; anything beyond is damage
constexpr quint32 kMaxPages = 100000;
constexpr int kItemMinimumSize = 1 + 4 * 8 + 1 + 4; // kind, box, clip flag, the shortest tail (an empty string)
constexpr int kKnownAlignment = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;

enum StyleBits : quint8 { Bold = 1, Italic = 2, Underline = 4 };

class Writer {
public:
    void u8(quint8 v) { m_bytes.append(char(v)); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_bytes.append(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        m_bytes.append(b, 8);
    }
    void str(const QString &s)
    {
        const QByteArray utf8 = s.toUtf8();
        u32(quint32(utf8.size()));
        m_bytes.append(utf8);
    }
    QByteArray &bytes() { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads the payload; every read checks the bytes left and marks the reader
// failed instead of reading past the end.
class Reader {
public:
    explicit Reader(const QByteArray &bytes) : m_data(bytes.constData()), m_left(bytes.size()) {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_left == 0; }
    qsizetype left() const { return m_left; }
    void fail() { m_ok = false; }

    quint8 u8()
    {
        const char *p = take(1);
        return p ? quint8(*p) : 0;
    }
    quint32 u32()
    {
        const char *p = take(4);
        return p ? qFromLittleEndian<quint32>(p) : 0;
    }
    double f64()
    {
        const char *p = take(8);
        if (!p)
            return 0.0;
        const quint64 bits = qFromLittleEndian<quint64>(p);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v) || std::fabs(v) > kMaxCoordinate)
            m_ok = false;
        return v;
    }
    QString str()
    {
        const quint32 length = u32();
        if (!m_ok || length > quint64(m_left)) {
            m_ok = false;
            return {};
        }
        const char *p = take(qsizetype(length));
        if (!p)
            return {};
        // Text that is not valid UTF-8 is damage, not something to repair.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(QByteArrayView(p, qsizetype(length)));
        if (decoder.hasError())
            m_ok = false;
        return text;
    }

private:
    const char *take(qsizetype n)
    {
        if (!m_ok || n > m_left) {
            m_ok = false;
            return nullptr;
        }
        const char *p = m_data;
        m_data += n;
        m_left -= n;
        return p;
    }

    const char *m_data;
    qsizetype m_left;
    bool m_ok = true;
};

void writeBox(Writer &w, const QRectF &box)
{
    w.f64(box.x());
    w.f64(box.y());
    w.f64(box.width());
    w.f64(box.height());
}

constexpr quint32 kMaxShapePoints = 100000;

bool readItem(Reader &r, PageItem &item, quint16 version)
{
    const quint8 kind = r.u8();
    const quint8 lastKind = version >= 2 ? quint8(ItemKind::Shape) : quint8(ItemKind::Line);
    if (kind < quint8(ItemKind::Text) || kind > lastKind)
        return false;
    item.kind = ItemKind(kind);
    const double x = r.f64(), y = r.f64(), w = r.f64(), h = r.f64();
    item.box = QRectF(x, y, w, h);
    const quint8 hasClip = r.u8();
    if (hasClip > 1)
        return false;
    if (hasClip) {
        const double cx = r.f64(), cy = r.f64(), cw = r.f64(), ch = r.f64();
        item.clip = QRectF(cx, cy, cw, ch);
        if (item.clip.isNull())
            return false;
    }
    switch (item.kind) {
    case ItemKind::Text: {
        item.font.family = r.str();
        item.font.pointSize = r.f64();
        const quint8 style = r.u8();
        item.align = int(r.u32());
        const quint8 wrap = r.u8();
        item.text = r.str();
        if (item.font.pointSize <= 0 || item.font.pointSize > 1000 || (style & ~(Bold | Italic | Underline))
            || (item.align & ~kKnownAlignment) || wrap > 1)
            return false;
        item.font.bold = style & Bold;
        item.font.italic = style & Italic;
        item.font.underline = style & Underline;
        item.wrap = wrap == 1;
        break;
    }
    case ItemKind::RichText:
        item.text = r.str();
        // A report file holds finished pages: an image, link or style sheet
        // from anywhere else is damage, never something to load.
        if (r.ok() && !richTextIsSelfContained(item.text))
            return false;
        break;
    case ItemKind::Rect:
    case ItemKind::Line:
        item.penWidth = r.f64();
        if (item.penWidth < 0 || item.penWidth > 100)
            return false;
        break;
    case ItemKind::Shape: {
        item.penWidth = r.f64();
        item.penColor = r.u32();
        item.fillColor = r.u32();
        const quint8 closed = r.u8();
        const quint8 style = r.u8();
        const quint32 count = r.u32();
        if (item.penWidth < 0 || item.penWidth > 100 || closed > 1 || style > quint8(LineStyle::Dot)
            || count > kMaxShapePoints || count > quint64(r.left()) / 16)
            return false;
        item.closed = closed == 1;
        item.lineStyle = LineStyle(style);
        for (quint32 k = 0; k < count; ++k) {
            const double x = r.f64(), y = r.f64();
            if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > kMaxCoordinate || std::abs(y) > kMaxCoordinate)
                return false;
            item.points.append(QPointF(x, y));
        }
        break;
    }
    }
    return r.ok();
}

} // namespace

ProgramText reportFileText(ReportFileError error)
{
    switch (error) {
    case ReportFileError::None:
    case ReportFileError::CannotOpen:
        break;
    case ReportFileError::NotReportFile:
        return ProgramText::ReportNotReportFile;
    case ReportFileError::Truncated:
        return ProgramText::ReportTruncated;
    case ReportFileError::NewerVersion:
        return ProgramText::ReportNewerVersion;
    case ReportFileError::Damaged:
        return ProgramText::ReportDamaged;
    case ReportFileError::CannotWrite:
        return ProgramText::ReportCannotWrite;
    }
    return ProgramText::ReportCannotOpen;
}

QByteArray encodeReportFile(const ReportPages &pages)
{
    Writer w;
    w.str(pages.title);
    w.f64(pages.paperMm.width());
    w.f64(pages.paperMm.height());
    w.u32(quint32(pages.pages.size()));
    for (const ReportPage &page : pages.pages) {
        w.u32(quint32(page.items.size()));
        for (const PageItem &item : page.items) {
            w.u8(quint8(item.kind));
            writeBox(w, item.box);
            w.u8(item.clip.isNull() ? 0 : 1);
            if (!item.clip.isNull())
                writeBox(w, item.clip);
            switch (item.kind) {
            case ItemKind::Text:
                w.str(item.font.family);
                w.f64(item.font.pointSize);
                w.u8(quint8((item.font.bold ? Bold : 0) | (item.font.italic ? Italic : 0)
                            | (item.font.underline ? Underline : 0)));
                w.u32(quint32(item.align & kKnownAlignment));
                w.u8(item.wrap ? 1 : 0);
                w.str(item.text);
                break;
            case ItemKind::RichText:
                w.str(item.text);
                break;
            case ItemKind::Rect:
            case ItemKind::Line:
                w.f64(item.penWidth);
                break;
            case ItemKind::Shape:
                w.f64(item.penWidth);
                w.u32(item.penColor);
                w.u32(item.fillColor);
                w.u8(item.closed ? 1 : 0);
                w.u8(quint8(item.lineStyle));
                w.u32(quint32(item.points.size()));
                for (const QPointF &p : item.points) {
                    w.f64(p.x());
                    w.f64(p.y());
                }
                break;
            }
        }
    }
    const QByteArray payload = w.bytes();

    Writer header;
    header.bytes().append(kMagic, sizeof kMagic);
    // Documents without shapes keep the first version, which older programs
    // read; shapes (error curves) need version 2.
    bool shapes = false;
    for (const ReportPage &page : pages.pages)
        for (const PageItem &item : page.items)
            shapes = shapes || item.kind == ItemKind::Shape;
    header.u16(shapes ? kReportFileVersion : quint16(1));
    header.u16(0);
    header.u32(quint32(payload.size()));
    const quint16 crc = RecordChecksum(payload);
    header.u8(quint8(crc >> 8));
    header.u8(quint8(crc & 0xff));
    return header.bytes() + payload;
}

ReportFileError decodeReportFile(const QByteArray &bytes, ReportPages &pages)
{
    if (bytes.size() < qsizetype(sizeof kMagic) || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return ReportFileError::NotReportFile;
    if (bytes.size() < kHeaderSize)
        return ReportFileError::Truncated;
    const quint16 version = qFromLittleEndian<quint16>(bytes.constData() + 8);
    if (version > kReportFileVersion)
        return ReportFileError::NewerVersion;
    if (version == 0)
        return ReportFileError::Damaged;
    const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + 12);
    const qsizetype available = bytes.size() - kHeaderSize;
    if (quint64(length) > quint64(available))
        return ReportFileError::Truncated;
    if (quint64(length) != quint64(available))
        return ReportFileError::Damaged;
    const QByteArray payload = bytes.mid(kHeaderSize);
    const quint16 stored = quint16((quint8(bytes.at(16)) << 8) | quint8(bytes.at(17)));
    if (RecordChecksum(payload) != stored)
        return ReportFileError::Damaged;

    Reader r(payload);
    ReportPages result;
    result.title = r.str();
    const double width = r.f64(), height = r.f64();
    result.paperMm = QSizeF(width, height);
    const quint32 pageCount = r.u32();
    if (!r.ok() || width <= 0 || height <= 0 || pageCount > kMaxPages || pageCount > quint64(r.left()) / 4)
        return ReportFileError::Damaged;
    result.pages.reserve(qsizetype(pageCount));
    for (quint32 p = 0; p < pageCount; ++p) {
        const quint32 itemCount = r.u32();
        if (!r.ok() || itemCount > quint64(r.left()) / kItemMinimumSize)
            return ReportFileError::Damaged;
        ReportPage page;
        page.items.reserve(qsizetype(itemCount));
        for (quint32 i = 0; i < itemCount; ++i) {
            PageItem item;
            if (!readItem(r, item, version))
                return ReportFileError::Damaged;
            page.items.append(item);
        }
        result.pages.append(page);
    }
    if (!r.ok() || !r.atEnd())
        return ReportFileError::Damaged;
    pages = result;
    return ReportFileError::None;
}

ReportFileError loadReportFile(const QString &path, ReportPages &pages)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReportFileError::CannotOpen;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReportFileError::CannotOpen;
    return decodeReportFile(bytes, pages);
}

ReportFileError saveReportFile(const QString &path, const ReportPages &pages)
{
    return platform::writeFileAtomically(path, encodeReportFile(pages), false) ? ReportFileError::None
                                                                               : ReportFileError::CannotWrite;
}

} // namespace report
