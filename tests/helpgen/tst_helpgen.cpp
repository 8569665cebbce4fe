// The manual renderer: pictures of the Markdown are embedded in the PDF no
// wider than the text, and a picture that cannot be loaded fails the
// rendering without leaving a PDF.
#include "testdir.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The printed widths, in inches, of the images of a PDF, in page order.
QList<double> printedWidths(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {-1};
    QList<double> widths;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() >= 13) // page num type width height ... x-ppi y-ppi ...
            widths << f[3].toDouble() / f[12].toDouble();
    }
    return widths;
}

} // namespace

class HelpgenTest : public QObject {
    Q_OBJECT
private slots:
    void images_data();
    void images();
};

void HelpgenTest::images_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QList<QSize>>("pictures"); // written as images/p0.png, p1.png ...
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QList<double>>("widths"); // printed widths in inches

    // The text is 130 mm wide: 170 mm of page less 2 cm on either side.
    const double text = 130 / 25.4;
    const QString head = QStringLiteral("# Manual\n\n## Section\n\nText.\n\n");
    QTest::newRow("narrow picture keeps its size at 96 dpi")
        << head + QStringLiteral("![A dialog](images/p0.png)\n") << QList<QSize>{{192, 96}} << 0 << QList<double>{2.0};
    QTest::newRow("wide picture takes the text's width") << head + QStringLiteral("![A window](images/p0.png)\n")
                                                         << QList<QSize>{{2400, 600}} << 0 << QList<double>{text};
    QTest::newRow("two pictures, both embedded")
        << head + QStringLiteral("![One](images/p0.png)\n\n## More\n\n![Two](images/p1.png)\n")
        << QList<QSize>{{96, 48}, {1200, 800}} << 0 << QList<double>{1.0, text};
    QTest::newRow("missing picture fails")
        << head + QStringLiteral("![One](images/p0.png)\n\n![Gone](images/gone.png)\n") << QList<QSize>{{96, 48}} << 1
        << QList<double>{};
    QTest::newRow("absolute path refused")
        << head + QStringLiteral("![Elsewhere](/usr/share/pixmaps/debian-logo.png)\n") << QList<QSize>{} << 1
        << QList<double>{};
}

void HelpgenTest::images()
{
    QFETCH(QString, markdown);
    QFETCH(QList<QSize>, pictures);
    QFETCH(int, exitCode);
    QFETCH(QList<double>, widths);
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        QSKIP("pdfimages (poppler-utils) is not installed");

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("images")));
    for (int i = 0; i < pictures.size(); ++i) {
        QImage image(pictures[i], QImage::Format_RGB32);
        image.fill(i % 2 ? Qt::darkBlue : Qt::darkRed);
        QVERIFY(image.save(dir.filePath(QStringLiteral("images/p%1.png").arg(i))));
    }
    const QString md = dir.filePath(QStringLiteral("manual.md"));
    QVERIFY(testsupport::writeAll(md, markdown.toUtf8()));
    // A PDF of an earlier run must not survive a failed one.
    const QString pdf = dir.filePath(QStringLiteral("manual.pdf"));
    QVERIFY(testsupport::writeAll(pdf, "stale"));

    QProcess helpgen;
    helpgen.start(testsupport::binDir() + QStringLiteral("/vardosk-helpgen"), {md, pdf});
    QVERIFY(helpgen.waitForFinished(120000));
    QCOMPARE(helpgen.exitCode(), exitCode);
    if (exitCode != 0) {
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(helpgen.readAllStandardError().contains("cannot load the image"));
        return;
    }
    const QList<double> printed = printedWidths(pdf);
    QCOMPARE(printed.size(), widths.size());
    for (int i = 0; i < widths.size(); ++i)
        QVERIFY2(qAbs(printed[i] - widths[i]) < 0.03,
                 qPrintable(QStringLiteral("picture %1: %2 in, expected %3 in").arg(i).arg(printed[i]).arg(widths[i])));
}

QTEST_GUILESS_MAIN(HelpgenTest)
#include "tst_helpgen.moc"
