#include "records/numberformat.h"

#include <QtTest>

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("russian");
        QTest::newRow("whole") << 220.0 << "220"
                               << "220";
        QTest::newRow("zero") << 0.0 << "0"
                              << "0";
        QTest::newRow("negative zero") << -0.0 << "0"
                                       << "0";
        QTest::newRow("fraction") << 0.05 << "0.05"
                                  << "0,05";
        QTest::newRow("negative") << -1.5 << "-1.5"
                                  << "-1,5";
        QTest::newRow("no trailing zeros") << 2.50 << "2.5"
                                           << "2,5";
        // 15 significant digits: the binary noise of 0.1 + 0.2 is rounded off.
        QTest::newRow("15 digits") << (0.1 + 0.2) << "0.3"
                                   << "0,3";
        QTest::newRow("long fraction") << 1.0 / 3.0 << "0.333333333333333"
                                       << "0,333333333333333";
        QTest::newRow("round up carries") << 9.9999999999999999 << "10"
                                          << "10";
        QTest::newRow("small fixed") << 0.00001 << "0.00001"
                                     << "0,00001";
        QTest::newRow("small scientific") << 0.000001 << "1E-6"
                                          << "1E-6";
        QTest::newRow("large fixed") << 123456789012345.0 << "123456789012345"
                                     << "123456789012345";
        QTest::newRow("large scientific") << 1.5e15 << "1.5E15"
                                          << "1,5E15";
        QTest::newRow("binary fraction") << (220 + 19005 / 65536.0) << "220.289993286133"
                                         << "220,289993286133";
    }

    void general()
    {
        QFETCH(double, value);
        QFETCH(QString, english);
        QFETCH(QString, russian);
        QCOMPARE(formatGeneral(value, QLocale(QLocale::English, QLocale::UnitedStates)), english);
        QCOMPARE(formatGeneral(value, QLocale(QLocale::Russian, QLocale::Russia)), russian);
    }

    void truncation()
    {
        const QLocale c(QLocale::C);
        QCOMPARE(truncateDecimals(2.999, 2), 2.99);
        QCOMPARE(truncateDecimals(-2.999, 2), -2.99); // towards zero
        QCOMPARE(truncateDecimals(7.0, 3), 7.0);
        // 0.05 stored as 3277 / 65536 keeps its text at 3 decimals.
        QCOMPARE(formatTruncated(3277 / 65536.0, 3, c), QStringLiteral("0.05"));
        // 3276 / 65536 is just below 0.05 and is cut, not rounded.
        QCOMPARE(formatTruncated(3276 / 65536.0, 3, c), QStringLiteral("0.049"));
        QCOMPARE(formatTruncated(-0.001, 2, c), QStringLiteral("0"));
        QCOMPARE(formatTruncated(std::nan(""), 2, c), QStringLiteral("NAN"));
        QCOMPARE(formatGeneral(-std::numeric_limits<double>::infinity(), c), QStringLiteral("-INF"));
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
