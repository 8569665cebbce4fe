#include "foldercsv.h"

#include "export/exportcells.h"
#include "base/platform.h"
#include "records/numberformat.h"
#include "views/verdicttext.h"
#include "views/gridcolumnkinds.h"

#include <cstring>

namespace {

// Code of the column kind in `grid` that shows the same quantity as code
// `code34` of the four-wire grid; -1 when the grid has none.
int matchingCode(GridKind grid, int code34)
{
    const char *key = gridColumnKind(GridPhase34, code34).titleKey;
    for (int code = 0; code < gridColumnCount(grid); ++code)
        if (std::strcmp(gridColumnKind(grid, code).titleKey, key) == 0)
            return code;
    return -1;
}

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &f : fields)
        quoted << csvField(f);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

} // namespace

QStringList folderCsvHeader(const TextLookup &lookup)
{
    QStringList header;
    header << (lookup ? lookup(kViewsMainSection, QStringLiteral("MainMenu/File")) : QString());
    header << exportDetailTitles(lookup);
    for (int code = 0; code < gridColumnCount(GridPhase34); ++code)
        header << (lookup ? lookup(kViewsMainSection, gridColumnTitlePath(GridPhase34, code)) : QString());
    return header;
}

QString csvField(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool needsQuotes = false;
    for (const QChar c : text)
        if (special.contains(c))
            needsQuotes = true;
    if (!needsQuotes)
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QByteArray folderCsv(const QVector<pcn::_totalblockdata> &meters, const TextLookup &lookup, const limits::Table *limits)
{
    const auto verdictText = [&lookup](const QString &path) {
        return lookup ? lookup(limits::kVerdictSection, path) : QString();
    };
    const QLocale c = QLocale::c();
    const RangeLabels labels = RangeLabels::from(lookup);
    const int codeCount = gridColumnCount(GridPhase34);
    QStringList header = folderCsvHeader(lookup);
    if (limits)
        header << verdictText(QStringLiteral("Column")) << verdictText(QStringLiteral("LimitColumn"));
    QString out = csvLine(header);
    for (const pcn::_totalblockdata &meter : meters) {
        for (const pcn::_blockdata &v : meter.verifications) {
            const RangeTextContext ranges{pcn::storedInstrumentType(meter, v), labels};
            GridKind grid = GridPhase34;
            gridForScheme(v.scheme, &grid); // a scheme without grid shows every quantity
            QVector<int> codes(codeCount);
            for (int code = 0; code < codeCount; ++code)
                codes[code] = matchingCode(grid, code);

            QStringList details;
            for (const ExportCell &cell : exportDetailCells(v, lookup, c))
                details << cell.text;
            details[0] = QDateTime(v.date, v.time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));

            const limits::VerificationVerdict verdict =
                limits ? limits::judgeVerification(*limits, v) : limits::VerificationVerdict{};
            for (int j = 0; j < v.points.size(); ++j) {
                const pcn::_datasample &point = v.points[j];
                QStringList fields{meter.fileName};
                fields << details;
                for (const int code : std::as_const(codes))
                    fields << (code < 0 ? QString() : gridCellText(grid, code, point, j, c, ranges));
                if (limits) {
                    const limits::PointVerdict &p = verdict.points.at(j);
                    fields << limits::pointMark(p, verdictText, c)
                           << (p.outcome == limits::PointOutcome::NoLimit ? QString() : formatGeneral(p.limit, c));
                }
                out += csvLine(fields);
            }
        }
    }
    return out.toUtf8();
}

bool ExportFolderCsv(const QString &path, const QVector<pcn::_totalblockdata> &meters, const TextLookup &lookup,
                     const limits::Table *limits)
{
    return platform::writeFileAtomically(path, folderCsv(meters, lookup, limits), false);
}
