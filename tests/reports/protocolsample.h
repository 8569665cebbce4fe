// A protocol document filled by hand with the texts a Russian protocol
// shows, for the layout, PDF and report file tests.
#pragma once

#include "reports/protocoldocument.h"
#include "reports/protocollayout.h"

inline ResultRow sampleRow(int number)
{
    ResultRow row;
    const auto set = [&](RowField f, const QString &t) { row.text(f) = t; };
    set(RowField::NumIzm, QString::number(number));
    for (RowField f : {RowField::Ua, RowField::Ub, RowField::Uc})
        set(f, QStringLiteral("57.73"));
    for (RowField f : {RowField::Uab, RowField::Ubc, RowField::Uca})
        set(f, QStringLiteral("100"));
    for (RowField f : {RowField::Ia, RowField::Ib, RowField::Ic})
        set(f, QString::number(0.5 * number));
    for (RowField f : {RowField::Kpa, RowField::Kpb, RowField::Kpc, RowField::Kps})
        set(f, QStringLiteral("0.86L"));
    for (RowField f : {RowField::Ps, RowField::Ss, RowField::Qp, RowField::Qs, RowField::Qg})
        set(f, QString::number(86.6 * number));
    set(RowField::Er, QStringLiteral("-0.123"));
    return row;
}

inline ResultGroup sampleGroup(int index, int rows, ProtocolScheme scheme)
{
    ResultGroup g;
    g.verificationIndex = index;
    g.powerTitle = QStringLiteral("Активная мощность");
    g.powerCaption = QStringLiteral("Мощн., Вт");
    g.powerField = RowField::Ps;
    g.constantLine = QStringLiteral("Постоянная счетчика: 1600");
    if (scheme != ProtocolScheme::ThreePhaseThreeWire)
        g.phaseVoltageLine = QStringLiteral("Uном. фазн., В: 57.7");
    if (scheme != ProtocolScheme::SinglePhaseTwoWire)
        g.lineVoltageLine = QStringLiteral("Uном. лин., В: 100");
    g.currentLine = QStringLiteral("Iном., А: 5");
    g.dateLine = QStringLiteral("Дата поверки: %1.06.2009").arg(index + 1, 2, 10, QLatin1Char('0'));
    for (int r = 1; r <= rows; ++r)
        g.rows.append(sampleRow(r));
    return g;
}

inline ProtocolDocument sampleProtocol(ProtocolScheme scheme, int groups, int rows, bool transformer = true)
{
    ProtocolDocument d;
    d.scheme = scheme;
    d.documentTitle = QStringLiteral("Протокол поверки");
    d.titleHtml = report::plainTextToHtml(QStringLiteral("ПРОТОКОЛ ПОВЕРКИ\nсчетчика электрической энергии"));
    d.endingHtml = report::plainTextToHtml(QStringLiteral("Поверитель ____________"));
    d.typeLine = QStringLiteral("Тип счетчика: CE301");
    d.serialLine = QStringLiteral("Заводской номер: 0123456");
    d.yearLine = QStringLiteral("Год выпуска: 2008");
    d.classLine = QStringLiteral("Класс точности: 1");
    d.schemeLine = scheme == ProtocolScheme::SinglePhaseTwoWire ? QStringLiteral("Включение: 1 фаза, 2 провода")
                   : scheme == ProtocolScheme::ThreePhaseThreeWire ? QStringLiteral("Включение: 3 фазы, 3 провода")
                                                                   : QStringLiteral("Включение: 3 фазы, 4 провода");
    d.voltageCaption = QStringLiteral("Напряжение, В");
    d.currentCaption = QStringLiteral("Ток, А");
    d.powerFactorCaption = scheme == ProtocolScheme::ThreePhaseThreeWire ? QStringLiteral("Суммарный коэф. мощн.")
                                                                         : QStringLiteral("Коэфф. мощности");
    d.errorCaption = QStringLiteral("Погрешн., %");
    for (int g = 0; g < groups; ++g)
        d.groups.append(sampleGroup(g, rows, scheme));
    if (transformer)
        d.transformerLines = {QStringLiteral("I1ном, А:  100"), QStringLiteral("I2ном, А:  3"),
                              QStringLiteral("Коэф. трансф.:  33.33")};
    d.printDate = QStringLiteral("07.12.2026");
    d.yearSuffix = QStringLiteral("г.");
    d.referenceLine = QStringLiteral("Эталон ЦЭ7008, зав. № 77");
    d.pageCaption = QStringLiteral("Страница");
    d.pageOfLabel = QStringLiteral("из");
    return d;
}
