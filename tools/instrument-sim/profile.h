// What one model of instrument is: its identity, its generation, the
// measuring ranges its records refer to by code, and its identify block.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>

namespace sim {

// A current range the instrument can name in a record's point.
struct CurrentRange {
    std::uint8_t code = 0; // code written into the point block
    double amperes = 0;
    bool clamp = false; // through current clamps
};

struct InstrumentProfile {
    int modelClass = 0; // 0, 1, 2 older; 3, 5, 6 newer
    bool newer = false;
    QString typeName;
    std::uint16_t serial = 0;
    std::uint16_t version1 = 0;
    std::uint16_t version2 = 0;
    QVector<CurrentRange> currentRanges;
    QVector<double> voltageRanges; // index = voltage range code
    bool threePhase = true;

    int pageBytes() const { return newer ? 512 : 1024; }
    int entriesPerContentPage() const { return newer ? 16 : 32; }
    int firstContentPage() const { return newer ? 320 : 224; }
    int maxRecords() const { return newer ? 480 : 200; }
    // Payload of the identify answer: 1024 bytes (older) or 512 (newer).
    QByteArray identifyBlock(int archiveSize) const;
};

// The built-in profile of a model class; typeName and the version words may
// be replaced afterwards. False for an unknown class.
bool makeProfile(int modelClass, std::uint16_t serial, InstrumentProfile &out);

} // namespace sim
