// The fixed geometry of the three protocol layouts (three-phase four-wire,
// three-phase three-wire, single-phase two-wire): band heights, the positions
// of their texts, and the columns of the result table with their headings.
// Millimetres inside a band, x from the left page margin.
#pragma once

#include "reports/protocoldocument.h"

#include <QList>

namespace report {

// Which caption of the document a heading cell shows.
enum class HeadingCaption {
    Number, // the fixed "№"
    Voltage,
    Current,
    PowerFactor,
    Power, // the group's power column caption
    Error,
    Fixed, // a fixed sub-caption (phase letters)
};

struct TableColumn {
    double left = 0.0;
    double width = 0.0;
    RowField field = RowField::NumIzm; // ignored for the power column
    bool powerColumn = false; // shows the group's power field
};

// One cell of the table heading, spanning columns [firstColumn, lastColumn]
// and heading rows [row, row + rows).
struct HeadingCell {
    int firstColumn = 0;
    int lastColumn = 0;
    int row = 0;
    int rows = 1;
    HeadingCaption caption = HeadingCaption::Fixed;
    const char *fixedText = ""; // for Fixed cells
};

struct SchemeLayout {
    // Title band.
    double titleTextY = 0.0;
    // Meter band.
    double meterTextX = 0.0;
    double classLineY = 0.0;
    // Group header.
    double groupHeaderHeight = 0.0;
    double constantLineY = 0.0;
    double phaseVoltageLineY = -1.0; // below 0: absent
    double lineVoltageLineY = -1.0; // below 0: absent
    double currentLineY = 0.0;
    double headingY = 0.0;
    double headingHeight = 0.0;
    int headingRows = 1;
    // Group footer.
    double dateRight = 0.0;
    double dateY = 0.0;
    // Ending band.
    double endingBandHeight = 0.0;
    double printDateRight = 0.0;
    double yearSuffixX = 0.0;
    double printDateY = 0.0;
    double endingTextX = 0.0;
    double endingTextY = 0.0;
    // Page footer.
    double referenceWidth = 0.0;

    QList<TableColumn> columns;
    QList<HeadingCell> heading;

    double tableLeft() const { return columns.first().left; }
    double tableRight() const { return columns.last().left + columns.last().width; }
};

const SchemeLayout &schemeLayout(ProtocolScheme scheme);

} // namespace report
