// The instrument's meter database: one 1024-byte page (older instruments)
// or one 512-byte block ending in its own CRC (newer instruments), kept in
// memory and optionally in a file.
#pragma once

#include <QByteArray>
#include <QString>

namespace sim {

class MeterDatabase {
public:
    explicit MeterDatabase(bool newer);

    // Loads the area from `path` when the file exists (it must have the size
    // of the area); from then on every write is saved there atomically.
    bool attachFile(const QString &path, QString &error);

    const QByteArray &area() const { return area_; }
    // Replaces `bytes.size()` bytes from the start of the area and saves.
    bool write(const QByteArray &bytes, QString &error);

private:
    bool save(QString &error) const;

    QByteArray area_;
    QString path_;
};

// The database a fresh instrument holds: ten meters, one with a Cyrillic
// type, in the wire image (400 bytes).
QByteArray defaultMeterImage();

} // namespace sim
