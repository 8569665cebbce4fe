// The application font stays proportional: a fixed-pitch face the toolkit
// fell back to is replaced by Liberation Sans at the same size, and any
// proportional face is left as it is.
#include "base/platform.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QtTest>

class TestUiFont : public QObject {
    Q_OBJECT
private slots:
    void replacesOnlyFixedPitch_data();
    void replacesOnlyFixedPitch();
};

void TestUiFont::replacesOnlyFixedPitch_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("after");
    QTest::newRow("fixed pitch fallback")
        << QStringLiteral("Liberation Mono") << true << QStringLiteral("Liberation Sans");
    QTest::newRow("sans kept") << QStringLiteral("Liberation Sans") << false << QStringLiteral("Liberation Sans");
    QTest::newRow("serif kept") << QStringLiteral("Liberation Serif") << false << QStringLiteral("Liberation Serif");
}

void TestUiFont::replacesOnlyFixedPitch()
{
    QFETCH(QString, family);
    QFETCH(bool, changed);
    QFETCH(QString, after);
    QFont start(family);
    start.setPointSizeF(9.5);
    QGuiApplication::setFont(start);
    QCOMPARE(QFontInfo(QGuiApplication::font()).family(), family);

    QCOMPARE(platform::preferProportionalUiFont(), changed);
    QCOMPARE(QFontInfo(QGuiApplication::font()).family(), after);
    QCOMPARE(QGuiApplication::font().pointSizeF(), 9.5);
    QVERIFY(!QFontInfo(QGuiApplication::font()).fixedPitch());
}

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
