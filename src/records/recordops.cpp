// The pure changes of stored meters: merge rules and merging, element
// compatibility, paste and delete, identity and constant edits.
#include "records/recordops.h"

#include "records/cp1251.h"
#include "records/metertype.h"

namespace {

// The moment of a verification as one comparable value pair.
bool isEarlierOrSame(const pcn::_datacounter &a, const pcn::_datacounter &b)
{
    if (a.date != b.date)
        return a.date < b.date;
    return a.time <= b.time;
}

void takeMoment(pcn::_datacounter &to, const pcn::_datacounter &from)
{
    to.date = from.date;
    to.time = from.time;
    to.bcdYear = from.bcdYear;
    to.bcdMonth = from.bcdMonth;
    to.bcdDay = from.bcdDay;
    to.bcdHour = from.bcdHour;
    to.bcdMinute = from.bcdMinute;
    to.bcdSecond = from.bcdSecond;
}

bool validIndex(const pcn::_totalblockdata &meter, int index)
{
    return index >= 0 && index < meter.verifications.size();
}

// Characters that stored meter types show as "+" so that a type can stand in
// a file name; they are stored as typed.
bool isShownAsPlus(QChar c)
{
    return QStringView(u"\"*/:<>?\\|").contains(c);
}

bool meterTypeCharacterKept(QChar c)
{
    const std::optional<QByteArray> stored = EncodeMeterType(QString(c));
    if (!stored)
        return false;
    const QString back = DecodeMeterType(*stored);
    if (back.isEmpty())
        return false; // a zero byte ends the stored text
    return back.at(0) == c || (isShownAsPlus(c) && back.at(0) == QLatin1Char('+'));
}

bool meterTypeCharacterStorable(QChar c)
{
    return c.category() != QChar::Other_Control && meterTypeCharacterKept(c);
}

void appendOnce(QString &list, QChar c)
{
    if (!list.contains(c))
        list.append(c);
}

} // namespace

namespace {

int ratioHundredths(std::uint16_t i1, std::uint16_t i2)
{
    return i2 == 0 ? -1 : int(std::uint32_t(i1) * 100u / i2);
}

} // namespace

int TransformerRatioHundredths(const pcn::_datacounter &verification)
{
    return ratioHundredths(verification.i1, verification.i2);
}

bool AreMergeable(const ListedMeter &source, const ListedMeter &target)
{
    if (source.verificationCount == 0 || target.verificationCount == 0)
        return false;
    if (source.instrument.serial != target.instrument.serial || source.instrument.type != target.instrument.type)
        return false;
    if (source.serialText != target.serialText || source.accuracyClass != target.accuracyClass
        || source.scheme != target.scheme)
        return false;
    if (source.i2 == 0 || target.i2 == 0)
        return false;
    const bool bothPlain = ratioHundredths(source.i1, source.i2) == 100 && ratioHundredths(target.i1, target.i2) == 100;
    return bothPlain || (source.i1 == target.i1 && source.i2 == target.i2);
}

bool AreMergeable(const pcn::_totalblockdata &source, const pcn::_totalblockdata &target)
{
    return AreMergeable(listedMeterOf(source), listedMeterOf(target));
}

pcn::_totalblockdata MergeMeters(const pcn::_totalblockdata &target, const pcn::_totalblockdata &source)
{
    pcn::_totalblockdata merged = target;
    if (target.verifications.isEmpty())
        return merged;
    const pcn::_blockdata &first = target.verifications.first();
    for (pcn::_blockdata v : source.verifications) {
        v.instrumentType = pcn::storedInstrumentType(source, v); // its points stay in their encoding
        v.meterType = first.meterType;
        v.meterTypeBytes = first.meterTypeBytes;
        v.year = first.year;
        v.i1 = first.i1;
        v.i2 = first.i2;
        v.serialText = first.serialText;
        merged.verifications.append(std::move(v));
    }
    return merged;
}

bool IsElementCompatible(const pcn::_blockdata &a, const pcn::_blockdata &b)
{
    if (a.powerType != b.powerType || a.constant != b.constant || a.scheme != b.scheme || a.iNom != b.iNom)
        return false;
    // The joined points are written in the target block's encoding; points
    // of another instrument type (a file holding blocks of several types)
    // would be re-encoded in a format that is not theirs.
    if (a.instrumentType != b.instrumentType)
        return false;
    switch (a.scheme) {
    case SchemeThreePhaseFourWire:
        return a.uPhaseNom == b.uPhaseNom && a.uLineNom == b.uLineNom;
    case SchemeThreePhaseThreeWire:
        return a.uLineNom == b.uLineNom;
    case SchemeSinglePhaseTwoWire:
        return a.uPhaseNom == b.uPhaseNom;
    default:
        return false;
    }
}

bool IsElementCompatible(const pcn::_totalblockdata &meter, int a, int b)
{
    if (!validIndex(meter, a) || !validIndex(meter, b))
        return false;
    return IsElementCompatible(meter.verifications.at(a), meter.verifications.at(b));
}

std::optional<pcn::_totalblockdata> PasteElement(const pcn::_totalblockdata &meter, int target, int source)
{
    if (target == source || !IsElementCompatible(meter, target, source))
        return std::nullopt;
    pcn::_totalblockdata result = meter;
    const pcn::_blockdata &s = meter.verifications.at(source);
    pcn::_blockdata &t = result.verifications[target];
    if (isEarlierOrSame(s, t))
        takeMoment(t, s);
    t.points += s.points;
    result.verifications.removeAt(source);
    return result;
}

std::optional<pcn::_totalblockdata> DeleteElement(const pcn::_totalblockdata &meter, int index)
{
    if (!validIndex(meter, index) || meter.verifications.size() < 2)
        return std::nullopt;
    pcn::_totalblockdata result = meter;
    result.verifications.removeAt(index);
    return result;
}

MeterParameters MeterParametersOf(const pcn::_totalblockdata &meter)
{
    MeterParameters p;
    if (meter.verifications.isEmpty())
        return p;
    const pcn::_blockdata &first = meter.verifications.first();
    p.meterType = first.meterType;
    p.serialText = first.serialText;
    p.year = first.year;
    return p;
}

namespace {

// The characters of a text that fail a test, each once, in their order.
template <typename Accepts>
QString charactersRefused(const QString &text, Accepts accepts)
{
    QString bad;
    for (QChar c : text)
        if (!accepts(c))
            appendOnce(bad, c);
    return bad;
}

} // namespace

QString UnstorableMeterTypeCharacters(const QString &meterType)
{
    return charactersRefused(meterType, meterTypeCharacterStorable);
}

QString MeterTypeCharactersNotKept(const QString &meterType)
{
    return charactersRefused(meterType, meterTypeCharacterKept);
}

QString UnstorableSerialTextCharacters(const QString &serialText)
{
    return charactersRefused(
        serialText, [](QChar c) { return c.unicode() >= 0x20 && c.unicode() != 0x7F && bool(cp1251::fromUnicode(c)); });
}

std::optional<pcn::_totalblockdata> EditMeterParameters(const pcn::_totalblockdata &meter,
                                                        const MeterParameters &parameters)
{
    if (meter.verifications.isEmpty() || parameters.meterType.size() > kMeterTypeMaxLength
        || parameters.serialText.size() > kSerialTextHeaderBytes
        || !UnstorableSerialTextCharacters(parameters.serialText).isEmpty())
        return std::nullopt;
    // A type kept as it was read may hold control characters, which its
    // file stores; a new one is held to what can be typed and stored.
    const QString &stored = meter.verifications.first().meterType;
    const QString bad = parameters.meterType == stored ? MeterTypeCharactersNotKept(parameters.meterType)
                                                       : UnstorableMeterTypeCharacters(parameters.meterType);
    if (!bad.isEmpty())
        return std::nullopt;
    pcn::_totalblockdata result = meter;
    pcn::_blockdata &first = result.verifications.first();
    first.meterType = parameters.meterType;
    first.year = parameters.year;
    for (pcn::_blockdata &v : result.verifications)
        v.serialText = parameters.serialText;
    return result;
}

std::optional<pcn::_totalblockdata> EditConstant(const pcn::_totalblockdata &meter, int index, std::uint32_t constant)
{
    if (!validIndex(meter, index))
        return std::nullopt;
    pcn::_totalblockdata result = meter;
    result.verifications[index].constant = constant;
    return result;
}

namespace {

std::optional<std::uint64_t> parseDigits(const QString &text, int maxDigits)
{
    if (text.size() > maxDigits)
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + std::uint64_t(c.unicode() - '0');
    }
    return value;
}

} // namespace

std::optional<std::uint16_t> ParseYearText(const QString &text)
{
    const std::optional<std::uint64_t> value = parseDigits(text, kYearMaxDigits);
    if (!value)
        return std::nullopt;
    return std::uint16_t(*value);
}

std::optional<std::uint32_t> ParseConstantText(const QString &text)
{
    const std::optional<std::uint64_t> value = parseDigits(text, kConstantMaxDigits);
    if (!value)
        return std::nullopt;
    return std::uint32_t(*value);
}
