#include "protocolschemes.h"

namespace report {
namespace {

TableColumn column(double left, double width, RowField field)
{
    return TableColumn{left, width, field, false};
}

TableColumn powerColumn(double left, double width)
{
    return TableColumn{left, width, RowField::Ps, true};
}

SchemeLayout fourWire()
{
    SchemeLayout s;
    s.titleTextY = 6.3;
    s.meterTextX = 6.3;
    s.classLineY = 20.4;
    s.groupHeaderHeight = 52.9;
    s.constantLineY = 14.8;
    s.phaseVoltageLineY = 21.2;
    s.lineVoltageLineY = 27.5;
    s.currentLineY = 33.9;
    s.headingY = 41.8;
    s.headingHeight = 11.4;
    s.headingRows = 2;
    s.dateRight = 165.1;
    s.dateY = 3.4;
    s.endingBandHeight = 57.1;
    s.printDateRight = 157.7;
    s.yearSuffixX = 158.8;
    s.printDateY = 23.3;
    s.endingTextX = 2.1;
    s.endingTextY = 32.3;
    s.referenceWidth = 127.3;
    s.columns = {
        column(0.5, 12.4, RowField::NumIzm), column(12.7, 13.0, RowField::Ua),  column(25.4, 13.0, RowField::Ub),
        column(38.1, 13.0, RowField::Uc),    column(50.8, 13.0, RowField::Ia),  column(63.5, 13.0, RowField::Ib),
        column(76.2, 13.0, RowField::Ic),    column(88.9, 13.0, RowField::Kpa), column(101.6, 13.0, RowField::Kpb),
        column(114.3, 13.0, RowField::Kpc),  powerColumn(127.0, 21.4),          column(148.2, 21.4, RowField::Er),
    };
    s.heading = {
        {0, 0, 0, 2, HeadingCaption::Number, ""},  {1, 3, 0, 1, HeadingCaption::Voltage, ""},
        {4, 6, 0, 1, HeadingCaption::Current, ""}, {7, 9, 0, 1, HeadingCaption::PowerFactor, ""},
        {10, 10, 0, 2, HeadingCaption::Power, ""}, {11, 11, 0, 2, HeadingCaption::Error, ""},
        {1, 1, 1, 1, HeadingCaption::Fixed, "A"},  {2, 2, 1, 1, HeadingCaption::Fixed, "B"},
        {3, 3, 1, 1, HeadingCaption::Fixed, "C"},  {4, 4, 1, 1, HeadingCaption::Fixed, "A"},
        {5, 5, 1, 1, HeadingCaption::Fixed, "B"},  {6, 6, 1, 1, HeadingCaption::Fixed, "C"},
        {7, 7, 1, 1, HeadingCaption::Fixed, "A"},  {8, 8, 1, 1, HeadingCaption::Fixed, "B"},
        {9, 9, 1, 1, HeadingCaption::Fixed, "C"},
    };
    return s;
}

SchemeLayout threeWire()
{
    SchemeLayout s;
    s.titleTextY = 6.3;
    s.meterTextX = 6.3;
    s.classLineY = 20.1;
    s.groupHeaderHeight = 50.8;
    s.constantLineY = 14.8;
    s.lineVoltageLineY = 23.3;
    s.currentLineY = 29.6;
    s.headingY = 39.7;
    s.headingHeight = 11.4;
    s.headingRows = 2;
    s.dateRight = 156.6;
    s.dateY = 3.4;
    s.endingBandHeight = 56.4;
    s.printDateRight = 161.9;
    s.yearSuffixX = 163.0;
    s.printDateY = 21.2;
    s.endingTextX = 2.1;
    s.endingTextY = 29.9;
    s.referenceWidth = 127.3;
    s.columns = {
        column(1.6, 11.4, RowField::NumIzm), column(12.7, 15.1, RowField::Uab), column(27.5, 15.1, RowField::Ubc),
        column(42.3, 15.1, RowField::Uca),   column(57.1, 13.0, RowField::Ia),  column(69.8, 13.0, RowField::Ib),
        column(82.5, 13.0, RowField::Ic),    column(95.2, 27.3, RowField::Kps), powerColumn(122.2, 22.0),
        column(143.9, 24.1, RowField::Er),
    };
    s.heading = {
        {0, 0, 0, 2, HeadingCaption::Number, ""},  {1, 3, 0, 1, HeadingCaption::Voltage, ""},
        {4, 6, 0, 1, HeadingCaption::Current, ""}, {7, 7, 0, 2, HeadingCaption::PowerFactor, ""},
        {8, 8, 0, 2, HeadingCaption::Power, ""},   {9, 9, 0, 2, HeadingCaption::Error, ""},
        {1, 1, 1, 1, HeadingCaption::Fixed, "AB"}, {2, 2, 1, 1, HeadingCaption::Fixed, "BC"},
        {3, 3, 1, 1, HeadingCaption::Fixed, "CA"}, {4, 4, 1, 1, HeadingCaption::Fixed, "A"},
        {5, 5, 1, 1, HeadingCaption::Fixed, "B"},  {6, 6, 1, 1, HeadingCaption::Fixed, "C"},
    };
    return s;
}

SchemeLayout singlePhase()
{
    SchemeLayout s;
    s.titleTextY = 8.5;
    s.meterTextX = 8.5;
    s.classLineY = 20.1;
    s.groupHeaderHeight = 52.9;
    s.constantLineY = 16.9;
    s.phaseVoltageLineY = 27.5;
    s.currentLineY = 33.9;
    s.headingY = 46.3;
    s.headingHeight = 6.9;
    s.headingRows = 1;
    s.dateRight = 154.5;
    s.dateY = 4.2;
    s.endingBandHeight = 57.1;
    s.printDateRight = 161.9;
    s.yearSuffixX = 163.0;
    s.printDateY = 23.3;
    s.endingTextX = 0.0;
    s.endingTextY = 31.0;
    s.referenceWidth = 125.2;
    s.columns = {
        column(2.1, 15.1, RowField::NumIzm), column(16.9, 32.0, RowField::Ua), column(48.7, 15.1, RowField::Ia),
        column(63.5, 40.5, RowField::Kps),   powerColumn(103.7, 34.1),         column(137.6, 29.9, RowField::Er),
    };
    s.heading = {
        {0, 0, 0, 1, HeadingCaption::Number, ""},  {1, 1, 0, 1, HeadingCaption::Voltage, ""},
        {2, 2, 0, 1, HeadingCaption::Current, ""}, {3, 3, 0, 1, HeadingCaption::PowerFactor, ""},
        {4, 4, 0, 1, HeadingCaption::Power, ""},   {5, 5, 0, 1, HeadingCaption::Error, ""},
    };
    return s;
}

} // namespace

const SchemeLayout &schemeLayout(ProtocolScheme scheme)
{
    static const SchemeLayout four = fourWire();
    static const SchemeLayout three = threeWire();
    static const SchemeLayout single = singlePhase();
    switch (scheme) {
    case ProtocolScheme::ThreePhaseThreeWire:
        return three;
    case ProtocolScheme::SinglePhaseTwoWire:
        return single;
    case ProtocolScheme::ThreePhaseFourWire:
        break;
    }
    return four;
}

} // namespace report
