// The content of one printed verification protocol: every text the protocol
// shows, already formatted, for one meter and up to ten of its
// verifications. The layouts only place these texts; they compute nothing.
#pragma once

#include "records/blockdata.h"
#include "reports/pagemodel.h"
#include "views/textlookup.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

// The three protocol layouts, one per connection scheme.
enum class ProtocolScheme {
    ThreePhaseFourWire, // scheme code 1, layout TFrm_3faz_4prov
    ThreePhaseThreeWire, // scheme code 2, layout TFrm_3faz_3prov
    SinglePhaseTwoWire, // scheme code 4, layout TFrm_1faz
};

// The layout for a stored scheme code; empty for any other code.
std::optional<ProtocolScheme> protocolSchemeForCode(int schemeCode);

// The text fields of a result row, in their fixed order. A layout's column
// names the field it shows; the power column shows ResultGroup::powerField.
enum class RowField {
    NumIzm, // point number from 1
    Ua,
    Ub,
    Uc, // phase voltages
    Ia,
    Ib,
    Ic, // phase currents
    Uab,
    Ubc,
    Uca, // line voltages
    Kpa,
    Kpb,
    Kpc, // phase power factors with their character ("0.86L")
    Kps, // total power factor with its character
    Pa,
    Pb,
    Pc,
    Ps, // active power per phase, total
    Sa,
    Sb,
    Sc,
    Ss, // apparent power per phase, total
    Qg, // total reactive power, geometric method
    Qs, // total reactive power, phase-shift method
    Qp, // total reactive power, cross-connection method
    Ul,
    Il, // always empty
    Er, // error of the meter in per cent
};
constexpr int kRowFieldCount = int(RowField::Er) + 1;

// Largest number of characters a field holds (NumIzm 10, voltages and
// currents 5, power factors 10, powers 8, Ul/Il 3, Er 6).
int rowFieldWidth(RowField field);

// The field's name as the layouts and report files spell it ("Ua", "Kps").
QString rowFieldName(RowField field);

// One test point of a verification as the protocol shows it.
struct ResultRow {
    std::array<QString, kRowFieldCount> cells; // indexed by RowField

    const QString &text(RowField field) const { return cells[std::size_t(field)]; }
    QString &text(RowField field) { return cells[std::size_t(field)]; }
};

// One verification of the protocol: its heading texts and its result table.
struct ResultGroup {
    int verificationIndex = -1; // index of the verification within the meter's file
    QString powerTitle; // group title, e.g. "Active power"
    QString powerCaption; // heading of the power column, e.g. "Power, W"
    RowField powerField = RowField::Ps; // which field fills the power column: Ps, Ss, Qp, Qs or Qg
    QString constantLine; // "Meter constant: 1600"
    QString phaseVoltageLine; // "Unom. phase, V: 57.7"; empty for three-wire
    QString lineVoltageLine; // "Unom. line, V: 100"; empty for single-phase
    QString currentLine; // "Inom., A: 5"
    QString dateLine; // "Verification date: " + short date of the verification
    QVector<ResultRow> rows; // one per test point in point order; may be empty

    // Printed under the table when the title dialog asks for them: the
    // verdict line, and the error curve's items placed in a box of
    // kCurveWidth x kCurveHeight millimetres at (0, 0). Empty: not printed.
    QString verdictLine;
    QList<report::PageItem> curveItems;
};

// Everything one protocol prints.
struct ProtocolDocument {
    ProtocolScheme scheme = ProtocolScheme::ThreePhaseFourWire;
    QString documentTitle; // window title of the preview ("Verification protocol")

    // Free texts of the title/ending editor, as HTML (QTextDocument::toHtml);
    // an empty string is an empty text.
    QString titleHtml;
    QString endingHtml;

    // Meter band, always from the meter's first verification.
    QString typeLine; // "Meter type: " + meter type
    QString serialLine; // "Serial number: " + serial text
    QString yearLine; // "Year of release: " + year
    QString classLine; // "Accuracy class: " + class
    QString schemeLine; // the scheme's own text ("Connection: 3 phase, 4 wire")

    // Column-group captions shared by every result table of the document.
    QString voltageCaption; // "Voltage, V"
    QString currentCaption; // "Current, A" ("I, A" for single-phase)
    QString powerFactorCaption; // "Power factor" ("Total power factor" for three-wire)
    QString errorCaption; // "Error, %"

    QVector<ResultGroup> groups; // 1 to 10, in the power list's display order

    // Ending band: none, or exactly three lines (I1, I2, turns ratio).
    QStringList transformerLines;
    QString printDate; // short date of the day the protocol was built
    QString yearSuffix; // printed after the print date ("г.")

    // Page footer.
    QString referenceLine; // "Reference standard: NAME, serial No. 123"
    QString pageCaption; // printed before the page number ("Page")
    QString pageOfLabel; // the text before the page count ("of")
    int pageCount = 0; // set by the layout's counting pass

    // "of 3": the page-of caption once the page count is known.
    QString pageOfCaption() const;
};

// The free texts of the title/ending editor.
struct ReportTexts {
    QString titleHtml;
    QString endingHtml;
    // The two ticks of the editor: a verdict line and an error curve under
    // every verification's table.
    bool includeVerdicts = false;
    bool includeCurves = false;
};

// The verifications a protocol takes, in the power list's display order:
// the ticked ones when any is ticked, otherwise all listed ones; at most 10.
// `displayOrder` holds the verification index of every list row from top to
// bottom; `ticked` the verification indices of the ticked rows (any order).
QVector<int> protocolSelection(const QVector<int> &displayOrder, const QVector<int> &ticked);

// Section and subsection of the protocol's texts in the string file.
inline const QString kReportSection = QStringLiteral("ReportForm");
inline const QString kReportLabelsGroup = QStringLiteral("ReportFormLabels");

// Builds the protocol of `meter` for the verifications `selection` (indices
// into meter.verifications, in display order; at most the first 10 are
// taken). Texts come from `lookup` (section ReportForm) as it answers;
// numbers and dates follow `locale`, `printDate` is the day the
// protocol is printed. Empty when the meter has no verification, the first
// verification's scheme code is not 1, 2 or 4, the selection is empty or
// names a verification the meter does not have. The page count stays 0.
std::optional<ProtocolDocument> buildProtocolDocument(const pcn::_totalblockdata &meter, const QVector<int> &selection,
                                                      const ReportTexts &texts, const TextLookup &lookup,
                                                      const QLocale &locale = QLocale(),
                                                      const QDate &printDate = QDate::currentDate());

// A value's text cut to a field width: the first `width` characters, except
// that an integer part (with its sign) longer than the field is kept whole
// and only the decimals are dropped, and a text in exponent notation is kept
// whole, so a cut never changes a number's magnitude.
QString fitToField(const QString &text, int width, const QLocale &locale = QLocale());

// The result row of point `pointIndex` (0-based) of a verification.
ResultRow makeResultRow(const pcn::_datasample &point, int pointIndex, const QLocale &locale = QLocale());
