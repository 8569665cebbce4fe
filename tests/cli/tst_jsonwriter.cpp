// The command-line tool's JSON writer: escapes, numbers, spacing, and the
// compact form byte for byte as Qt's own JSON document writes it.
#include "jsonwriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TestJsonWriter : public QObject {
    Q_OBJECT
private slots:
    void strings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QStringLiteral("abc") << QStringLiteral("\"abc\"");
        QTest::newRow("quote and backslash") << QStringLiteral("a\"b\\c") << QStringLiteral("\"a\\\"b\\\\c\"");
        QTest::newRow("named controls") << QStringLiteral("\b\f\n\r\t") << QStringLiteral("\"\\b\\f\\n\\r\\t\"");
        QTest::newRow("other controls") << QString(QChar(1)) + QChar(0x1f) << QStringLiteral("\"\\u0001\\u001f\"");
        QTest::newRow("slash, delete and Cyrillic as they are")
            << QStringLiteral("a/b") + QChar(0x7f) + QStringLiteral("Щ")
            << QStringLiteral("\"a/b") + QChar(0x7f) + QStringLiteral("Щ\"");
        QTest::newRow("empty") << QString() << QStringLiteral("\"\"");
    }

    void strings()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(json::string(text), expected);
        // The compact object is what Qt writes for the same member.
        const QByteArray qt = QJsonDocument(QJsonObject{{QStringLiteral("k"), text}}).toJson(QJsonDocument::Compact);
        QCOMPARE(json::Object(json::Spacing::Compact).text(QStringLiteral("k"), text).toString().toUtf8(), qt);
    }

    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tenth") << 0.1 << QStringLiteral("0.1");
        QTest::newRow("float tenth") << double(0.1f) << QStringLiteral("0.10000000149011612");
        QTest::newRow("integer") << 220.0 << QStringLiteral("220");
        QTest::newRow("negative") << -0.25 << QStringLiteral("-0.25");
        QTest::newRow("large") << 1e300 << QStringLiteral("1e+300");
        QTest::newRow("not a number") << qQNaN() << QStringLiteral("null");
        QTest::newRow("infinite") << qInf() << QStringLiteral("null");
    }

    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(json::number(value), expected);
    }

    void objectsKeepTheirOrderAndSpacing()
    {
        const QString inner = json::Object(json::Spacing::Compact)
                                  .integer(QStringLiteral("b"), -7)
                                  .boolean(QStringLiteral("a"), true)
                                  .toString();
        QCOMPARE(inner, QStringLiteral("{\"b\":-7,\"a\":true}"));
        const QString spaced = json::Object()
                                   .text(QStringLiteral("z"), QStringLiteral("x"))
                                   .raw(QStringLiteral("list"), json::array({QStringLiteral("1"), QStringLiteral("2")}))
                                   .raw(QStringLiteral("tight"),
                                        json::array({QStringLiteral("1"), QStringLiteral("2")}, json::Spacing::Compact))
                                   .toString();
        QCOMPARE(spaced, QStringLiteral("{\"z\": \"x\", \"list\": [1, 2], \"tight\": [1,2]}"));
        QCOMPARE(json::Object().toString(), QStringLiteral("{}"));
        QCOMPARE(json::array({}), QStringLiteral("[]"));
    }
};

QTEST_GUILESS_MAIN(TestJsonWriter)
#include "tst_jsonwriter.moc"
