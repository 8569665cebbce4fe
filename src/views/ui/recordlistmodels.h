// Item models of the meter list and the power list. Each row carries the
// index of its meter or verification; sorting only permutes the row order,
// so a row always finds its data.
#pragma once

#include "records/blockdata.h"
#include "views/listtexts.h"
#include "views/textlookup.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QLocale>
#include <QStringList>
#include <QVector>

#include <optional>

// Role under which both models answer the row's data index.
constexpr int kDataIndexRole = Qt::UserRole + 1;
// Role under which the power list answers the row's power type code.
constexpr int kPowerTypeRole = Qt::UserRole + 2;
// Role under which the power list answers the verdict mark of the row ("✓").
constexpr int kVerdictMarkRole = Qt::UserRole + 3;

// Common part: titles, row order, and cell texts by data index (made when
// filled, or by a derived model when asked for).
class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setTitles(const QStringList &titles);
    // Data index shown in `row`, -1 outside.
    int dataIndexAt(int row) const;
    // Row showing data index `dataIndex`, -1 when none.
    int rowOfDataIndex(int dataIndex) const;
    const QVector<int> &rowOrder() const { return m_rows; }
    // Moves the rows into a new order (a permutation of the present one);
    // selections and the current row follow their data.
    void setRowOrder(const QVector<int> &rows);
    // Text of a cell as shown.
    virtual QString cellText(int row, int column) const;
    // What the text of a cell is made from: two cells of one column with the
    // same source show the same text (while the rows' data stay unchanged).
    // Nothing when the model cannot tell without the text.
    virtual std::optional<MeterCellSource> cellSource(int row, int column) const;
    // Drops the row of a data index; higher data indices move down by one,
    // as they do in the data when an element is erased.
    void removeDataIndex(int dataIndex);

protected:
    // Lets a derived model drop its own per-item data of a removed item.
    virtual void removeDataAt(int dataIndex);
    // Replaces all rows: row i shows data index i.
    void resetRows(QVector<QStringList> texts);
    // The same for rows whose texts the derived model makes.
    void resetRows(qsizetype count);

    QStringList m_titles;
    QVector<QStringList> m_texts; // by data index, when held
    QVector<int> m_rows; // data index per row
};

class MeterListModel : public RecordListModel {
    Q_OBJECT
public:
    using RecordListModel::RecordListModel;
    // One row per meter, in list order; `meters` (nullptr: none) must stay
    // alive while listed: the texts of a row are made when it is asked for.
    void fill(const QVector<ListedMeter> *meters, const TextLookup &lookup, const QLocale &locale);
    void clear();
    // The meter of a data index took new content: its row shows it.
    void dataIndexChanged(int dataIndex);

    QString cellText(int row, int column) const override;
    std::optional<MeterCellSource> cellSource(int row, int column) const override;

private:
    const ListedMeter *meterAt(int row) const;

    const QVector<ListedMeter> *m_meters = nullptr;
    MeterRowTexts m_rowTexts;
};

class PowerListModel : public RecordListModel {
    Q_OBJECT
public:
    using RecordListModel::RecordListModel;

    // One row per verification of a meter, in stored order, none ticked.
    void fill(const pcn::_totalblockdata &meter, const TextLookup &lookup, const QLocale &locale);
    void clear();

    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The verdict of each verification (by verification index): a mark
    // drawn before the first column and the verdict line as its tool tip.
    // Empty lists remove them.
    void setVerdicts(const QStringList &marks, const QVector<QColor> &colours, const QStringList &lines);

    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    int checkedCount() const;
    // Verification indices of the ticked rows, in row order.
    QVector<int> checkedDataIndices() const;

protected:
    void removeDataAt(int dataIndex) override;

private:
    QVector<bool> m_checked; // by verification index
    QVector<int> m_powerTypes; // by verification index
    QStringList m_verdictMarks; // by verification index
    QVector<QColor> m_verdictColours;
    QStringList m_verdictLines;
};
