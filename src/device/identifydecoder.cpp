#include "identifydecoder.h"

#include "bytereader.h"
#include "records/metertype.h"

#include <QLocale>

#include <cmath>

namespace device {

namespace {

constexpr qsizetype kPayload = 4; // answer header before the payload
constexpr qsizetype kSerialOffset = 16;
constexpr qsizetype kVersion1Offset = 18;
constexpr qsizetype kVersion2Offset = 20;
constexpr qsizetype kNewerTriplesOffset = 44;
constexpr qsizetype kOlderTriplesOffset = 104;
constexpr std::uint16_t kTriplesFlag = 0xF000; // version word 2 from here on: triples delivered

bool hasThreePhaseDesignation(const QString &type)
{
    return type.contains(QLatin1String("Q-Q")) || type.contains(QLatin1String("Q.Q"));
}

bool hasSinglePhaseDesignation(const QString &type)
{
    return type.contains(QLatin1String("Q-W")) || type.contains(QLatin1String("Q.W"));
}

// The number written by `count` characters of the version text starting at
// the 1-based position `from`; false when they do not form one.
bool versionNumber(const QString &text, int from, int count, double &value)
{
    const QString part = text.mid(from - 1, count);
    if (part.isEmpty())
        return false;
    bool ok = false;
    value = QLocale::c().toDouble(part, &ok);
    return ok;
}

bool versionInteger(const QString &text, int from, int count, int &value)
{
    const QString part = text.mid(from - 1, count);
    bool ok = false;
    value = part.toInt(&ok, 10);
    return ok && !part.isEmpty();
}

void readCommonHeader(const QByteArray &answer, DeviceInfo &info)
{
    info.typeName = DecodeMeterType(bytesAt(answer, kPayload, 16));
    info.serialNumber = wordAt(answer, kPayload + kSerialOffset);
    info.versionText =
        versionText(wordAt(answer, kPayload + kVersion1Offset), wordAt(answer, kPayload + kVersion2Offset));
}

void clearKindCounts(DeviceInfo &info)
{
    info.kind1Count = 0;
    info.kind2Count = 0;
    info.kind4Count = 0;
}

// Range triples (code, high word, low word) up to `limit` of them, ended by a
// code of 0.
void readTriples(const QByteArray &answer, qsizetype offset, int limit, DeviceInfo &info)
{
    int n = 0;
    for (; n < limit; ++n) {
        const qsizetype at = kPayload + offset + 6 * n;
        const std::uint16_t code = wordAt(answer, at);
        if (code == 0)
            break;
        info.rangeCode[n] = code;
        info.rangeHigh[n] = wordAt(answer, at + 2);
        info.rangeLow[n] = wordAt(answer, at + 4);
    }
    info.rangeCount = n;
}

// Older three-phase instruments without delivered triples carry their range
// digits in characters 6 to 9 of the version text.
bool rangeDigitsFromVersion(DeviceInfo &info)
{
    for (int k = 0; k < 4; ++k) {
        const int position = 6 + k; // 1-based
        if (position > info.versionText.size())
            return false;
        const QChar c = info.versionText.at(position - 1);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        info.rangeDigits[3 - k] = static_cast<std::uint16_t>(c.unicode() - '0');
    }
    int count = 0;
    for (std::uint16_t d : info.rangeDigits)
        count += d != 0 ? 1 : 0;
    info.rangeCount = count;
    for (int k = 0; k < 4; ++k)
        info.rangeCode[k] = 0;
    std::array<std::uint16_t, 4> moved{};
    for (int k = 0; k < count; ++k)
        moved[k] = info.rangeDigits[4 - count + k];
    info.rangeDigits = moved;
    for (int k = 0; k + 1 < 4; ++k) {
        if (info.rangeDigits[k] == 8 && info.rangeDigits[k + 1] == 7)
            std::swap(info.rangeDigits[k], info.rangeDigits[k + 1]);
    }
    return true;
}

double truncatedToThousandths(double value)
{
    return std::trunc(value * 1000.0) * 0.001;
}

} // namespace

QString versionText(std::uint16_t word1, std::uint16_t word2)
{
    QString text = QString::number(word1, 16).toUpper() + QString::number(word2, 16).toUpper();
    if (text.size() >= 2)
        text.insert(1, QLatin1Char('.'));
    if (text.size() >= 4)
        text.insert(3, QLatin1Char('.'));
    return text;
}

IdentifyOutcome decodeOlderIdentify(const QByteArray &answer, DeviceInfo &info)
{
    info.typeName = DecodeMeterType(bytesAt(answer, kPayload, 16));
    info.serialNumber = wordAt(answer, kPayload + kSerialOffset);
    clearKindCounts(info);
    const std::uint16_t word1 = wordAt(answer, kPayload + kVersion1Offset);
    const std::uint16_t word2 = wordAt(answer, kPayload + kVersion2Offset);

    if (hasThreePhaseDesignation(info.typeName)) {
        info.modelClass = ModelOlderThreePhase;
        info.versionText = versionText(word1, word2);
        if (word2 < kTriplesFlag) {
            if (!rangeDigitsFromVersion(info))
                return IdentifyOutcome::Malformed;
        } else {
            readTriples(answer, kOlderTriplesOffset, 4, info);
        }
        info.pageFactor = 2;
        return IdentifyOutcome::Recognised;
    }
    if (hasSinglePhaseDesignation(info.typeName)) {
        info.versionText = versionText(word1, word2);
        double v = 0;
        if (!versionNumber(info.versionText, 1, 3, v))
            return IdentifyOutcome::Malformed;
        if (v < 5) {
            info.modelClass = ModelOlderSinglePhase1;
            info.rangeCount = 9;
        } else if (v < 5.3) {
            info.modelClass = ModelOlderSinglePhase2;
            info.rangeCount = 11;
        } else {
            return IdentifyOutcome::NotRecognised;
        }
        info.pageFactor = 2;
        return IdentifyOutcome::Recognised;
    }
    const int underscore = info.typeName.indexOf(QLatin1String("Q_W"));
    if (underscore >= 0) {
        info.versionText = versionText(word1, word2);
        double v = 0;
        int minor = 0;
        if (!versionNumber(info.versionText, 1, 3, v) || !versionInteger(info.versionText, 5, 2, minor))
            return IdentifyOutcome::Malformed;
        if (v < 5.3 || v >= 6 || minor != 1)
            return IdentifyOutcome::NotRecognised;
        info.typeName[underscore + 1] = QLatin1Char('.');
        info.modelClass = ModelOlderSinglePhase2;
        info.rangeCount = 11;
        info.pageFactor = 2;
        return IdentifyOutcome::Recognised;
    }
    return IdentifyOutcome::NotRecognised;
}

IdentifyOutcome decodeNewerIdentify(const QByteArray &answer, DeviceInfo &info)
{
    readCommonHeader(answer, info);
    const std::uint16_t word2 = wordAt(answer, kPayload + kVersion2Offset);

    if (hasThreePhaseDesignation(info.typeName)) {
        clearKindCounts(info);
        info.modelClass = ModelNewerThreePhase;
        if (word2 >= kTriplesFlag)
            readTriples(answer, kNewerTriplesOffset, 9, info);
        info.pageFactor = 1;
        return IdentifyOutcome::Recognised;
    }
    if (!hasSinglePhaseDesignation(info.typeName))
        return IdentifyOutcome::NotRecognised;

    info.rangeCount = 0;
    info.auxCount = 0;
    clearKindCounts(info);
    constexpr int kMaxTriples = 37;
    for (int n = 0; n < kMaxTriples; ++n) {
        const qsizetype at = kPayload + kNewerTriplesOffset + 6 * n;
        const std::uint16_t code = wordAt(answer, at);
        if (code == 0)
            break;
        const double h = wordAt(answer, at + 2);
        const double l = wordAt(answer, at + 4);
        if (code == 1) {
            // The list holds 10 auxiliary values; a longer one is refused.
            if (info.auxCount >= static_cast<int>(info.auxValue.size()))
                return IdentifyOutcome::NotRecognised;
            info.auxValue[info.auxCount++] = h * std::ldexp(1.0, -6) + l * std::ldexp(1.0, -22);
            continue;
        }
        double value = 0;
        std::uint16_t kind = 0;
        switch (code) {
        case 2:
            value = h * std::ldexp(1.0, -9) + l * std::ldexp(1.0, -25);
            kind = 1;
            ++info.kind1Count;
            break;
        case 3:
            value = h * 0.25 + l * std::ldexp(1.0, -18);
            kind = 2;
            ++info.kind2Count;
            break;
        case 4:
            value = h * std::ldexp(1.0, -9) + l * std::ldexp(1.0, -25);
            kind = 4;
            ++info.kind4Count;
            break;
        default:
            return IdentifyOutcome::NotRecognised;
        }
        // The list holds 27 range values; a longer one is refused.
        if (info.rangeCount >= static_cast<int>(info.rangeValue.size()))
            return IdentifyOutcome::NotRecognised;
        info.rangeValue[info.rangeCount] = truncatedToThousandths(value);
        info.rangeKind[info.rangeCount] = kind;
        ++info.rangeCount;
    }
    double major = 0;
    if (info.auxCount == 0 || info.rangeCount == 0)
        return IdentifyOutcome::NotRecognised;
    if (!versionNumber(info.versionText, 1, 3, major))
        return IdentifyOutcome::Malformed;
    if (major < 7 || major >= 8)
        return IdentifyOutcome::NotRecognised;
    double minor = 0;
    if (!versionNumber(info.versionText, 3, 3, minor))
        return IdentifyOutcome::Malformed;
    info.pageFactor = 1;
    info.modelClass = minor >= 0.2 ? ModelNewerSinglePhase6 : ModelNewerSinglePhase5;
    return IdentifyOutcome::Recognised;
}

} // namespace device
