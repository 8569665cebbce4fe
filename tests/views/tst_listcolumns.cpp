// The meter and power lists widen their columns to the widest text of any
// row. They measure only the rows whose text can be the widest; the result
// must be the width the style's own measure of every row gives.
#include "views/ui/recordlistviews.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QtTest>

class TestListColumns : public QObject {
    Q_OBJECT
private slots:
    void columnsFitTheWidestText_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("widestRow"); // where the widest text goes; -1: leave the order
        QTest::newRow("one row") << QStringList{QStringLiteral("CE301 R33 145-JAZ")} << -1;
        // Narrow letters outnumber wide ones: the longest text is not the widest.
        QTest::newRow("many narrow letters against few wide ones")
            << QStringList{QStringLiteral("iiiiiiiiiiiiiiii"), QStringLiteral("WWWWWWWW"), QStringLiteral("1111111")}
            << -1;
        QTest::newRow("widest text in the last of many rows")
            << QStringList{QStringLiteral("000123"), QStringLiteral("Меркурий 230 ART-03 PQRSIDN")} << 399;
        QTest::newRow("close widths, mixed scripts")
            << QStringList{QStringLiteral("Ц-300 0,5S"), QStringLiteral("MMM-300 0,5"), QStringLiteral("ЖЖЖ-300 0,5"),
                           QStringLiteral("mmm-300 0,5S")}
            << -1;
    }

    void columnsFitTheWidestText()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, widestRow);
        const int rows = widestRow < 0 ? int(texts.size()) : widestRow + 1;
        QStandardItemModel model(rows, 2);
        for (int r = 0; r < rows; ++r) {
            // The widest sample (the last) only at widestRow when one is given.
            const QString text = widestRow < 0 ? texts[r] : (r == widestRow ? texts.last() : texts.first());
            auto *checked = new QStandardItem(text);
            checked->setCheckable(true);
            model.setItem(r, 0, checked);
            model.setItem(r, 1, new QStandardItem(text + QStringLiteral(" ^ 2009-06-15")));
        }
        RecordListView view;
        view.setModel(&model);
        view.header()->resizeSection(0, 10);
        view.header()->resizeSection(1, 10);
        view.header()->setResizeContentsPrecision(-1); // the reference measures every row
        view.fitColumnsToRows();

        const int air = 2 * view.header()->fontMetrics().averageCharWidth();
        const QAbstractItemView &reference = view; // the tree view's own measure of every row
        for (int c = 0; c < 2; ++c)
            QCOMPARE(view.header()->sectionSize(c), std::max(10, reference.sizeHintForColumn(c) + air));

        // Never narrower: a wide column stays as it is.
        view.header()->resizeSection(1, 2000);
        view.fitColumnsToRows();
        QCOMPARE(view.header()->sectionSize(1), 2000);
    }
};

QTEST_MAIN(TestListColumns)
#include "tst_listcolumns.moc"
