#include "protocoldocument.h"

#include "records/numberformat.h"
#include "views/gridcolumnkinds.h"
#include "views/listtexts.h"
#include "views/rangetexts.h"
#include "views/commandstate.h"
#include "records/metertype.h"

#include <QSet>

namespace {

struct FieldInfo {
    const char *name;
    int width;
};

// Names and widths in RowField order.
const std::array<FieldInfo, kRowFieldCount> kFields{{
    {"NumIzm", 10}, {"Ua", 5},  {"Ub", 5},  {"Uc", 5},   {"Ia", 5},   {"Ib", 5},   {"Ic", 5},
    {"Uab", 5},     {"Ubc", 5}, {"Uca", 5}, {"Kpa", 10}, {"Kpb", 10}, {"Kpc", 10}, {"Kps", 10},
    {"Pa", 8},      {"Pb", 8},  {"Pc", 8},  {"Ps", 8},   {"Sa", 8},   {"Sb", 8},   {"Sc", 8},
    {"Ss", 8},      {"Qg", 8},  {"Qs", 8},  {"Qp", 8},   {"Ul", 3},   {"Il", 3},   {"Er", 6},
}};

// Texts of one power type: group title key, power column caption key, field.
struct PowerTypeTexts {
    const char *titleKey;
    const char *captionKey;
    RowField field;
};

const std::array<PowerTypeTexts, 5> kPowerTypes{{
    {"ActivePower", "P", RowField::Ps},
    {"ApparentPower", "S", RowField::Ss},
    {"ReactiveCrossPower", "Qper", RowField::Qp},
    {"ReactiveShiftPower", "Qsdv", RowField::Qs},
    {"ReactiveGeomPower", "Qgeom", RowField::Qg},
}};

// The keys a scheme fixes.
struct SchemeKeys {
    const char *currentCaption;
    const char *powerFactorCaption;
    const char *schemeLine;
    bool phaseVoltageLine;
    bool lineVoltageLine;
};

SchemeKeys schemeKeys(ProtocolScheme scheme)
{
    switch (scheme) {
    case ProtocolScheme::ThreePhaseFourWire:
        return {"Current", "PowerFactor", "ph3w4", true, true};
    case ProtocolScheme::ThreePhaseThreeWire:
        return {"Current", "TotalPowerFactor", "ph3w3", false, true};
    case ProtocolScheme::SinglePhaseTwoWire:
        break;
    }
    return {"CurrentSokr", "PowerFactor", "ph1w2", true, false};
}

class ReportText {
public:
    explicit ReportText(const TextLookup &lookup) : m_lookup(lookup) {}
    QString operator()(const char *key) const
    {
        if (!m_lookup)
            return {};
        return m_lookup(kReportSection, kReportLabelsGroup + QLatin1Char('/') + QLatin1String(key));
    }

private:
    const TextLookup &m_lookup;
};

void set(ResultRow &row, RowField field, const QString &text, const QLocale &locale)
{
    row.text(field) = fitToField(text, rowFieldWidth(field), locale);
}

ResultGroup makeGroup(const pcn::_blockdata &v, int index, ProtocolScheme scheme, const ReportText &text,
                      const QLocale &locale)
{
    ResultGroup group;
    group.verificationIndex = index;
    // A cross-connection verification gets its own title, caption and field
    // in every layout, the single-phase one included.
    if (v.powerType < kPowerTypes.size()) {
        const PowerTypeTexts &type = kPowerTypes[v.powerType];
        group.powerTitle = text(type.titleKey);
        group.powerCaption = text(type.captionKey);
        group.powerField = type.field;
    }
    const SchemeKeys keys = schemeKeys(scheme);
    group.constantLine = text("MeterConst") + QString::number(v.constant);
    if (keys.phaseVoltageLine)
        group.phaseVoltageLine = text("UphNom") + formatGeneral(v.uPhaseNom, locale);
    if (keys.lineVoltageLine)
        group.lineVoltageLine = text("UlineNom") + formatGeneral(v.uLineNom, locale);
    group.currentLine = text("IphNom") + formatGeneral(v.iNom, locale);
    group.dateLine = text("CalibrationDate") + locale.toString(v.date, QLocale::ShortFormat);
    group.rows.reserve(v.points.size());
    for (int i = 0; i < v.points.size(); ++i)
        group.rows.append(makeResultRow(v.points[i], i, locale));
    return group;
}

} // namespace

std::optional<ProtocolScheme> protocolSchemeForCode(int schemeCode)
{
    switch (schemeCode) {
    case SchemeThreePhaseFourWire:
        return ProtocolScheme::ThreePhaseFourWire;
    case SchemeThreePhaseThreeWire:
        return ProtocolScheme::ThreePhaseThreeWire;
    case SchemeSinglePhaseTwoWire:
        return ProtocolScheme::SinglePhaseTwoWire;
    default:
        return std::nullopt;
    }
}

int rowFieldWidth(RowField field)
{
    return kFields[std::size_t(field)].width;
}

QString rowFieldName(RowField field)
{
    return QLatin1String(kFields[std::size_t(field)].name);
}

QString ProtocolDocument::pageOfCaption() const
{
    return pageOfLabel + QLatin1Char(' ') + QString::number(pageCount);
}

QVector<int> protocolSelection(const QVector<int> &displayOrder, const QVector<int> &ticked)
{
    QVector<int> taken;
    const QSet<int> tickedSet(ticked.cbegin(), ticked.cend());
    for (int index : displayOrder) {
        if (taken.size() == kMaxReportVerifications)
            break;
        if (tickedSet.isEmpty() || tickedSet.contains(index))
            taken.append(index);
    }
    return taken;
}

QString fitToField(const QString &text, int width, const QLocale &locale)
{
    if (text.size() <= width || text.contains(QLatin1Char('E')))
        return text;
    const qsizetype separator = text.indexOf(locale.decimalPoint());
    const qsizetype integerPart = separator < 0 ? text.size() : separator;
    if (integerPart > width)
        return text.left(integerPart);
    return text.left(width);
}

ResultRow makeResultRow(const pcn::_datasample &point, int pointIndex, const QLocale &locale)
{
    using F = RowField;
    ResultRow row;
    auto general = [&](F field, double value) { set(row, field, formatGeneral(value, locale), locale); };
    auto powerFactor = [&](F field, double value, char character) {
        set(row, field, powerFactorText(value, character, locale), locale);
    };
    set(row, F::NumIzm, QString::number(pointIndex + 1), locale);
    const std::array<F, 3> u{F::Ua, F::Ub, F::Uc}, i{F::Ia, F::Ib, F::Ic}, ul{F::Uab, F::Ubc, F::Uca},
        kp{F::Kpa, F::Kpb, F::Kpc}, p{F::Pa, F::Pb, F::Pc}, s{F::Sa, F::Sb, F::Sc};
    for (std::size_t k = 0; k < 3; ++k) {
        general(u[k], point.U[k]);
        general(i[k], point.I[k]);
        general(ul[k], point.Uline[k]);
        powerFactor(kp[k], point.cosPhi[k], point.pfChar[k]);
        general(p[k], point.P[k]);
        general(s[k], point.S[k]);
    }
    powerFactor(F::Kps, point.pfTotal, point.pfChar[3]);
    general(F::Ps, point.Ptotal);
    general(F::Ss, point.Stotal);
    general(F::Qg, point.QgeomTotal);
    general(F::Qs, point.QshiftTotal);
    general(F::Qp, point.QcrossTotal);
    general(F::Er, point.errorPercent);
    return row; // Ul and Il stay empty
}

std::optional<ProtocolDocument> buildProtocolDocument(const pcn::_totalblockdata &meter, const QVector<int> &selection,
                                                      const ReportTexts &texts, const TextLookup &lookup,
                                                      const QLocale &locale, const QDate &printDate)
{
    if (meter.verifications.isEmpty() || selection.isEmpty())
        return std::nullopt;
    const pcn::_blockdata &first = meter.verifications.first();
    const std::optional<ProtocolScheme> scheme = protocolSchemeForCode(first.scheme);
    if (!scheme)
        return std::nullopt;
    for (int index : selection)
        if (index < 0 || index >= meter.verifications.size())
            return std::nullopt;

    const ReportText text(lookup);
    const SchemeKeys keys = schemeKeys(*scheme);
    ProtocolDocument doc;
    doc.scheme = *scheme;
    doc.documentTitle = text("ReportTitle");
    doc.titleHtml = texts.titleHtml;
    doc.endingHtml = texts.endingHtml;

    doc.typeLine = text("MeterType") + VisibleMeterType(first.meterType);
    doc.serialLine = text("SerialNumber") + first.serialText;
    doc.yearLine = text("Year") + QString::number(first.year);
    doc.classLine = text("Class") + formatGeneral(first.accuracyClass, locale);
    doc.schemeLine = text(keys.schemeLine);

    doc.voltageCaption = text("Voltage");
    doc.currentCaption = text(keys.currentCaption);
    doc.powerFactorCaption = text(keys.powerFactorCaption);
    doc.errorCaption = text("Error");

    for (int index : selection) {
        if (doc.groups.size() == kMaxReportVerifications)
            break;
        doc.groups.append(makeGroup(meter.verifications[index], index, *scheme, text, locale));
    }

    if (first.i1 != first.i2 && first.i2 != 0) {
        const QString gap = QStringLiteral("  ");
        doc.transformerLines << text("I1nom") + gap + QString::number(first.i1)
                             << text("I2nom") + gap + QString::number(first.i2)
                             << text("TurnsRatio") + gap + turnsRatioText(first.i1, first.i2, locale);
    }
    doc.printDate = locale.toString(printDate, QLocale::ShortFormat);
    doc.yearSuffix = text("CalibrationYear");

    doc.referenceLine = text("RefStandard") + QLatin1Char(' ') + instrumentName(meter.instrument.type, lookup)
                        + QStringLiteral(", ") + text("RefStandardSerialNumber") + QLatin1Char(' ')
                        + QString::number(meter.instrument.serial);
    doc.pageCaption = text("Page");
    doc.pageOfLabel = text("PageOf");
    return doc;
}
