// The decoded identity of the connected instrument: what the identify answer
// says about its type, serial number, version, generation and measuring
// ranges. Filled by the identify decoders (identifydecoder.h), shown by the
// exchange and content dialogs and handed with the archive records to their
// conversion, which needs the range lists.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Model classes reported by the identify decoders.
enum ModelClass : std::uint8_t {
    ModelOlderThreePhase = 0,
    ModelOlderSinglePhase1 = 1,
    ModelOlderSinglePhase2 = 2,
    ModelNewerThreePhase = 3,
    ModelNewerSinglePhase5 = 5,
    ModelNewerSinglePhase6 = 6,
};

struct DeviceInfo {
    QString typeName; // instrument type designation
    std::uint16_t serialNumber = 0;
    QString versionText; // e.g. "7.2.01"
    std::uint8_t modelClass = 0; // see ModelClass
    // Older three-phase instruments: range digits taken from the version text.
    std::array<std::uint16_t, 4> rangeDigits{};
    std::int32_t rangeCount = 0; // entries in the range lists
    // Three-phase instruments: range triples as delivered (code, high, low).
    std::array<std::uint16_t, 9> rangeCode{};
    std::array<std::uint16_t, 9> rangeHigh{};
    std::array<std::uint16_t, 9> rangeLow{};
    // 2 for older instruments (1024-byte pages), 1 for newer (512-byte pages).
    std::int32_t pageFactor = 1;
    // Newer single-phase instruments.
    std::int32_t auxCount = 0; // number of code-1 values
    std::array<double, 27> rangeValue{}; // code 2, 3 and 4 values, delivered order
    std::array<std::uint16_t, 27> rangeKind{}; // 1 for code 2, 2 for code 3, 4 for code 4
    std::array<double, 10> auxValue{}; // code-1 values
    std::int32_t kind1Count = 0; // entries of code 2
    std::int32_t kind2Count = 0; // entries of code 3
    std::int32_t kind4Count = 0; // entries of code 4

    // Newer instruments (classes 3, 5, 6) use the 512-byte page commands.
    bool isNewer() const { return modelClass == 3 || modelClass == 5 || modelClass == 6; }
};
